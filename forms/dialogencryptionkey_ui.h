#pragma once

// The generated form; other targets include this wrapper, never the generated header itself.
#include "ui_dialogencryptionkey.h"
