#!/usr/bin/env bash
# Installs the two npm packages into bench/npm/node_modules (pinned by package-lock.json) and
# times them on the inputs of the engine's function benchmarks.
set -euo pipefail
cd "$(dirname "$0")"
npm install --no-audit --no-fund
node compare.js
