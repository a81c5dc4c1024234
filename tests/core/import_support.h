#pragma once
// The fixture of the import and scoring tests, for the command tests that build on it.
#include "core_support.h"
