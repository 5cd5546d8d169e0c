#include "link/linkcrypto.h"
