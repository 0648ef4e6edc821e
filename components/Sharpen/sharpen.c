/* Sharpen: unsharp masking. Each channel moves away from its blurred surroundings by Amount;
 * differences below Threshold are left alone so that flat areas keep their grain. */
#include "../common/boxblur.h"

#include <stdlib.h>

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Sharpen\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=sharpen.html,100\r"
                                 "Opt=WP\r"
                                 "Par1=F,Amount,2,0.1,0,5,1\r"
                                 "Par2=I,Radius,1,50,1\r"
                                 "Par3=S2,Threshold,0,255,0\r";

static double amount = 1.0;
static int32_t radius = 1, threshold = 0;

static int sharpen(int s, int blurred) {
    int d = s - blurred;
    if ((d < 0 ? -d : d) < threshold) return s;
    double v = s + amount * d;
    return ovc_clamp255((int)(v < 0 ? v - 0.5 : v + 0.5));
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        amount = ovc_double(data, 0);
        radius = ovc_int(data, 8);
        threshold = ovc_int(data, 12);
        if (!(amount >= 0 && amount <= 100)) amount = amount > 100 ? 100 : 0;
        radius = radius < 1 ? 1 : (radius > 50 ? 50 : radius);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        BoxPlane blur = {NULL, l, t, r - l + 1, b - t + 1, r - l + 1};
        blur.pixels = malloc(sizeof(uint32_t) * (size_t)(blur.w * blur.h));
        if (!blur.pixels) return;
        ovc_progress_start(env);
        if (box_blur(env, &blur, radius, 1, NULL, 1)) {
            for (intptr_t y = t; y <= b; ++y)
                for (intptr_t x = l; x <= r; ++x) {
                    const intptr_t i = y * env->width + x;
                    if (!ovc_writes(env, i)) continue;
                    const uint32_t s = env->src[i], m = blur.pixels[(y - t) * blur.w + x - l];
                    env->dst[i] =
                        ovc_rgb(sharpen((s >> 16) & 255, (m >> 16) & 255),
                                sharpen((s >> 8) & 255, (m >> 8) & 255), sharpen(s & 255, m & 255));
                }
        }
        free(blur.pixels);
    }
}
