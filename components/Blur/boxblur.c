/* Blur: the mean of a square around each pixel, or three such passes for a soft, nearly
 * Gaussian blur. Running sums make the cost independent of the radius. */
#include "../common/boxblur.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Blur\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=boxblur.html,100\r"
                                 "Opt=WP\r"
                                 "Par1=I,Radius,0,200,3\r"
                                 "Par2=C,Smooth (three passes),1\r";

static int32_t radius = 3, smooth = 1;

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        radius = ovc_int(data, 0);
        smooth = ovc_int(data, 4);
        radius = radius < 0 ? 0 : (radius > 200 ? 200 : radius);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        BoxPlane out = {env->dst + t * env->width + l, l, t, r - l + 1, b - t + 1, env->width};
        ovc_progress_start(env);
        box_blur(env, &out, radius, smooth ? 3 : 1, env->markedOnly ? env->src : NULL, 1);
    }
}
