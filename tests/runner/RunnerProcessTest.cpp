// runner as a real process: command line, job files, exit codes, and progress over the
// inherited socket.
#include "app/profile/CProgressReceiver.h"
#include "app/profile/EngineJobFiles.h"

#include <gtest/gtest.h>
