#!/usr/bin/env bash
# Installs the two npm packages (into bench/npm/node_modules) and times them.
set -euo pipefail
cd "$(dirname "$0")"
npm install --no-audit --no-fund --silent
node compara.js
