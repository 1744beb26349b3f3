// Home of base_Logic's meta-object; the class itself is inline in its header.
#include "base_Logic.h"
