// What both backends do with a message box before showing it: echo it to stderr, then let the
// test hook or VERNALIS_MSGBOX_ANSWER=yes|no answer it unseen.
#pragma once
#include "platform/win32.h"

// Null text and caption become "" and "Error". True, with `answer` set, when the box is answered
// without being shown.
bool MessageBoxAnsweredUnseen(HWND owner, const char** text, const char** caption, UINT type,
                              int* answer);
