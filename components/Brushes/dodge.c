/* Lighten and darken: made for painting. Used as a brush it touches only the pixels under the
 * brush; on the whole picture it works everywhere. */
#include "../ovcutil.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Lighten and Darken\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=dodge.html,100\r"
                                 "Opt=W\r"
                                 "Icon=dodge.png\r"
                                 "Par1=L,Mode,2,Lighten,Darken,1\r"
                                 "Par2=S,Strength,1,100,25\r";

static int32_t mode = 1, strength = 25;

static int shade(int v) {
    return mode == 2 ? v - (v * strength + 50) / 100 : v + ((255 - v) * strength + 50) / 100;
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        mode = ovc_int(data, 0);
        strength = ovc_int(data, 4);
        strength = strength < 0 ? 0 : (strength > 100 ? 100 : strength);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        for (intptr_t y = t; y <= b; ++y)
            for (intptr_t x = l; x <= r; ++x) {
                const intptr_t i = y * env->width + x;
                if (!ovc_writes(env, i)) continue;
                const uint32_t p = env->src[i];
                env->dst[i] =
                    ovc_rgb(shade((p >> 16) & 255), shade((p >> 8) & 255), shade(p & 255));
            }
    }
}
