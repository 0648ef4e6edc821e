/* Blend with another picture: one of the open pictures, stretched to this one's size, laid
 * over it with an opacity and a mode. */
#include "../ovcutil.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Blend with Picture\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=blend.html,100\r"
                                 "Opt=WP\r"
                                 "Par1=G,Picture,2\r"
                                 "Par2=S,Opacity,0,100,50\r"
                                 "Par3=L,Mode,3,Normal,Multiply,Screen,1\r";

static int32_t picture = 2, opacity = 50, mode = 1;

static int mix(int a, int o) {
    const int top = mode == 2 ? a * o / 255 : (mode == 3 ? 255 - (255 - a) * (255 - o) / 255 : o);
    return (a * (100 - opacity) + top * opacity + 50) / 100;
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        picture = ovc_int(data, 0);
        opacity = ovc_int(data, 4);
        mode = ovc_int(data, 8);
        opacity = opacity < 0 ? 0 : (opacity > 100 ? 100 : opacity);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        const OvcImage* other =
            env->images && picture >= 1 && picture <= 10 ? &env->images[picture - 1] : NULL;
        if (other && (!other->pixels || other->width <= 0 || other->height <= 0)) other = NULL;
        for (intptr_t y = t; y <= b; ++y)
            for (intptr_t x = l; x <= r; ++x) {
                const intptr_t i = y * env->width + x;
                if (!ovc_writes(env, i)) continue;
                const uint32_t p = env->src[i];
                if (!other) { /* no such picture: nothing to blend with */
                    env->dst[i] = p & 0xFFFFFFu;
                    continue;
                }
                const intptr_t ox = (intptr_t)((int64_t)x * other->width / env->width);
                const intptr_t oy = (intptr_t)((int64_t)y * other->height / env->height);
                const uint32_t o = other->pixels[oy * other->width + ox];
                env->dst[i] = ovc_rgb(mix((p >> 16) & 255, (o >> 16) & 255),
                                      mix((p >> 8) & 255, (o >> 8) & 255), mix(p & 255, o & 255));
            }
    }
}
