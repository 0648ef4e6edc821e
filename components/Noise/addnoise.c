/* Add noise: grain of an amount, in colour or grey, even or bell-shaped. The grain of a pixel
 * depends only on its place and the seed, so a preview, a stroke and the whole picture agree. */
#include "../ovcutil.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Add Noise\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=addnoise.html,100\r"
                                 "Opt=WP\r"
                                 "Par1=I,Amount,0,255,32\r"
                                 "Par2=C,Monochrome,0\r"
                                 "Par3=L,Distribution,2,Uniform,Gaussian,1\r"
                                 "Par4=I2,Seed,0,65535,1\r";

static int32_t amount = 32, mono = 0, gaussian = 0, seed = 1;

static uint32_t hash(uint32_t x, uint32_t y, uint32_t c) {
    uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u ^ c * 0xC2B2AE3Du ^ (uint32_t)seed * 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    return h ^ (h >> 15);
}

/* A value in -amount..amount. */
static int grain(intptr_t x, intptr_t y, uint32_t c) {
    const uint32_t h = hash((uint32_t)x, (uint32_t)y, c);
    int u;
    if (gaussian) /* the sum of four even values is close to a bell */
        u = (int)((h & 255) + ((h >> 8) & 255) + ((h >> 16) & 255) + (h >> 24)) - 510;
    else
        u = (int)(h % 1021) - 510;
    return u * amount / 510;
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        amount = ovc_int(data, 0);
        mono = ovc_int(data, 4);
        gaussian = ovc_int(data, 8) == 2;
        seed = ovc_int(data, 12);
        amount = amount < 0 ? 0 : (amount > 255 ? 255 : amount);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        for (intptr_t y = t; y <= b; ++y)
            for (intptr_t x = l; x <= r; ++x) {
                const intptr_t i = y * env->width + x;
                if (!ovc_writes(env, i)) continue;
                const uint32_t p = env->src[i];
                const int nr = grain(x, y, 0), ng = mono ? nr : grain(x, y, 1),
                          nb = mono ? nr : grain(x, y, 2);
                env->dst[i] = ovc_rgb((int)((p >> 16) & 255) + nr, (int)((p >> 8) & 255) + ng,
                                      (int)(p & 255) + nb);
            }
    }
}
