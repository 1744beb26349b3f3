// Exports of the logic module library, resolved by name by the console.
#include "SimLogic.h"

extern "C" {

Q_DECL_EXPORT base_Logic *create()
{
    return new SimLogic();
}

// Spelled as the console resolves it.
Q_DECL_EXPORT void destory(base_Logic *logic)
{
    delete logic;
}

}
