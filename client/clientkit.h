// The client driver's routines ("clientkit"): the chat room path and the window
// utilities. The mail composer and the instant messages have headers of their own.
#pragma once

#include "client/ChatRoom.h"
#include "client/WindowUtilities.h"
