/* Mosaic: squares of one colour, the mean of the pixels they cover. The squares start at the
 * picture's corner, so a brush stroke or a part of the picture lines up with the rest. */
#include "../ovcutil.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Mosaic\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=mosaic.html,100\r"
                                 "Opt=WP\r"
                                 "Par1=I,Square size,2,256,8\r";

static int32_t size = 8;

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        size = ovc_int(data, 0);
        size = size < 1 ? 1 : (size > 4096 ? 4096 : size);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        ovc_progress_start(env);
        for (intptr_t by = t / size * size; by <= b; by += size) {
            const intptr_t y1 = by + size > env->height ? env->height : by + size;
            for (intptr_t bx = l / size * size; bx <= r; bx += size) {
                const intptr_t x1 = bx + size > env->width ? env->width : bx + size;
                uint64_t sr = 0, sg = 0, sb = 0;
                for (intptr_t y = by; y < y1; ++y)
                    for (intptr_t x = bx; x < x1; ++x) {
                        const uint32_t p = env->src[y * env->width + x];
                        sr += (p >> 16) & 255;
                        sg += (p >> 8) & 255;
                        sb += p & 255;
                    }
                const uint64_t n = (uint64_t)((y1 - by) * (x1 - bx));
                const uint32_t mean = (uint32_t)((sr + n / 2) / n) << 16 |
                                      (uint32_t)((sg + n / 2) / n) << 8 |
                                      (uint32_t)((sb + n / 2) / n);
                for (intptr_t y = by < t ? t : by; y < y1 && y <= b; ++y)
                    for (intptr_t x = bx < l ? l : bx; x < x1 && x <= r; ++x)
                        if (ovc_writes(env, y * env->width + x))
                            env->dst[y * env->width + x] = mean;
            }
            if (ovc_progress(env, by - t, b - t + 1)) return;
        }
    }
}
