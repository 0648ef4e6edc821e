/* Emboss: the brightness difference across each pixel, in the light's direction, raised from a
 * base colour, so edges stand out like pressed metal. */
#include "../ovcutil.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Emboss\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=emboss.html,100\r"
                                 "Opt=W\r"
                                 "Par1=S,Light angle,0,359,135\r"
                                 "Par2=I,Depth,1,10,2\r"
                                 "Par3=O,Base colour,808080\r";

static int32_t angle = 135, depth = 2;
static uint32_t base = 0x808080;

static int brightness(uint32_t p) {
    return (int)((((p >> 16) & 255) * 299 + ((p >> 8) & 255) * 587 + (p & 255) * 114 + 500) / 1000);
}

static uint32_t at(const OvcEnv* env, intptr_t x, intptr_t y) {
    x = x < 0 ? 0 : (x >= env->width ? env->width - 1 : x);
    y = y < 0 ? 0 : (y >= env->height ? env->height - 1 : y);
    return env->src[y * env->width + x];
}

/* The neighbour step (-1, 0 or 1) of a table value of amplitude 512. */
static int step(int32_t v) {
    return v > 256 ? 1 : (v < -256 ? -1 : 0);
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        angle = ovc_int(data, 0);
        depth = ovc_int(data, 4);
        base = (uint32_t)ovc_int(data, 8) & 0xFFFFFFu;
        depth = depth < 0 ? 0 : (depth > 100 ? 100 : depth);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        const int k = (int)((((angle % 360) + 360) % 360) * 1024 / 360);
        int dx = 1, dy = -1;
        if (env->sine && env->cosine) {
            dx = step(env->cosine[k]);
            dy = -step(env->sine[k]); /* picture rows grow downwards */
        }
        for (intptr_t y = t; y <= b; ++y)
            for (intptr_t x = l; x <= r; ++x) {
                const intptr_t i = y * env->width + x;
                if (!ovc_writes(env, i)) continue;
                const int v = depth * (brightness(at(env, x + dx, y + dy)) -
                                       brightness(at(env, x - dx, y - dy)));
                env->dst[i] = ovc_rgb((int)((base >> 16) & 255) + v, (int)((base >> 8) & 255) + v,
                                      (int)(base & 255) + v);
            }
    }
}
