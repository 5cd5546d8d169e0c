#include "link/packetcode.h"
