#pragma once
// Windows and OLE headers with C-style interfaces: every COM object here is a struct holding
// one member per interface, each with its own vtable, as Wine writes them.
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

#include "Palvor.h"
