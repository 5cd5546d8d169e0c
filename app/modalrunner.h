#pragma once

#include <functional>

class QDialog;

// Every modal dialog or message box that waits for the operator runs through runModal(), so that
// a test can answer it instead of blocking: the runner gets the prepared dialog and returns what
// exec() would have returned.
using ModalRunner = std::function<int(QDialog& dialog)>;

// An empty runner restores exec().
void setModalRunner(ModalRunner runner);
int runModal(QDialog& dialog);
