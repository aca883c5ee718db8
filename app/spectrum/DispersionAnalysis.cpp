#include "app/spectrum/DispersionAnalysis.h"
