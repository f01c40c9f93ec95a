#include "engine/bookmark_control.h"
