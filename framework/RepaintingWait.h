// Waiting for a started program on the user-interface thread without
// freezing the picture: the windows keep painting, while taps and keys wait
// until the program has ended.
#pragma once

#include "platform/Types.h"

// WaitForSingleObject without a time limit; the result is that of the wait.
DWORD WaitRepainting(HANDLE process);
