/* A component that only describes itself, in C: the descriptor comes from OVCDESC, OVCGETDESC
 * or both, as the build asks; its processing inverts the rectangle. */
#include "ovc.h"

#ifdef DESC_DATA
OVC_DESCRIPTOR(DESC_DATA)
#endif

#ifdef DESC_FUNC
OVC_EXPORT const char *OVCGETDESC(void)
{
    return DESC_FUNC;
}
#endif

#ifndef NO_PROCESS
OVC_EXPORT void OVCPROCESS(void *data, uint32_t command)
{
    const OvcEnv *env = (const OvcEnv *)data;
    intptr_t x, y;
    if (command != OVC_PROCESS)
        return;
    for (y = env->top; y <= env->bottom; ++y)
        for (x = env->left; x <= env->right; ++x)
            env->dst[y * env->width + x] = ~env->src[y * env->width + x] & 0xFFFFFFu;
}
#endif
