/* Posterise or threshold: few levels per channel, or two colours split at a brightness.
 * "Auto threshold" sets the split at the picture's mean brightness. */
#include "../ovcutil.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Posterise\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=posterise.html,100\r"
                                 "Opt=W\r"
                                 "Par1=L,Mode,2,Posterise,Threshold,1\r"
                                 "Par2=I,Levels,2,64,4\r"
                                 "Par3=S,Threshold,0,255,128\r"
                                 "Par4=O,Dark colour,0\r"
                                 "Par5=O,Light colour,FFFFFF\r"
                                 "Par6=B,Auto threshold\r";

static int32_t mode = 1, levels = 4, threshold = 128;
static uint32_t dark = 0, light = 0xFFFFFF;
static OvcEnv program; /* host and call, for the button */
static int32_t mean = 128;

static int brightness(uint32_t p) {
    return (int)((((p >> 16) & 255) * 299 + ((p >> 8) & 255) * 587 + (p & 255) * 114 + 500) / 1000);
}

static int level(int v) {
    const int n = levels - 1, q = (v * n + 127) / 255;
    return (q * 255 + n / 2) / n;
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_START && data) {
        const OvcEnv* env = data;
        program.host = env->host;
        program.call = env->call;
        uint64_t sum = 0;
        const intptr_t n = env->src ? env->width * env->height : 0;
        for (intptr_t i = 0; i < n; ++i) sum += (uint64_t)brightness(env->src[i]);
        mean = n > 0 ? (int32_t)((sum + (uint64_t)n / 2) / (uint64_t)n) : 128;
    } else if (command == OVC_PARAMS && data) {
        mode = ovc_int(data, 0);
        levels = ovc_int(data, 4);
        threshold = ovc_int(data, 8);
        dark = (uint32_t)ovc_int(data, 12) & 0xFFFFFFu;
        light = (uint32_t)ovc_int(data, 16) & 0xFFFFFFu;
        levels = levels < 2 ? 2 : (levels > 256 ? 256 : levels);
    } else if (command == OVC_BUTTON && data) {
        if (ovc_int(data, 0) != 6) return;
        /* Two settings, one notice: the mode quietly, then the threshold with notices on. */
        ovc_send(&program, OVC_MSG_NOTIFY_OFF, 0, 0);
        ovc_send(&program, OVC_MSG_SET, OVC_W(1, OVC_SET_VALUE), 2);
        ovc_send(&program, OVC_MSG_NOTIFY_ON, 0, 0);
        ovc_send(&program, OVC_MSG_SET, OVC_W(3, OVC_SET_VALUE), mean);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        for (intptr_t y = t; y <= b; ++y)
            for (intptr_t x = l; x <= r; ++x) {
                const intptr_t i = y * env->width + x;
                if (!ovc_writes(env, i)) continue;
                const uint32_t p = env->src[i];
                if (mode == 2)
                    env->dst[i] = brightness(p) >= threshold ? light : dark;
                else
                    env->dst[i] =
                        ovc_rgb(level((p >> 16) & 255), level((p >> 8) & 255), level(p & 255));
            }
    }
}
