// The shared library is velamod_core linked whole; this unit only gives it a source.
#include "engine/VelamodCode.h"
