/* Vignette: the picture fades into a colour away from a centre. A click on the picture or on
 * the preview moves the centre there. */
#include "../ovcutil.h"

#include <math.h>

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Vignette\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=vignette.html,100\r"
                                 "Opt=WP\r"
                                 "Par1=P,Centre,0,0\r"
                                 "Par2=S,Radius,5,200,75\r"
                                 "Par3=S,Strength,0,100,80\r"
                                 "Par4=O,Colour,0\r";

static int32_t centre = 0x7FFF7FFF, radius = 75, strength = 80;
static uint32_t colour = 0;
static OvcEnv program; /* only host and call are kept, to answer clicks */

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_START && data) {
        const OvcEnv* env = data;
        program.host = env->host;
        program.call = env->call;
        /* Start from the middle of the picture rather than its corner. */
        ovc_send(&program, OVC_MSG_SET, OVC_W(1, OVC_SET_VALUE), 0x7FFF7FFF);
    } else if (command == OVC_PARAMS && data) {
        centre = ovc_int(data, 0);
        radius = ovc_int(data, 4);
        strength = ovc_int(data, 8);
        colour = (uint32_t)ovc_int(data, 12) & 0xFFFFFFu;
        radius = radius < 1 ? 1 : radius;
    } else if (command == OVC_CLICK && data) {
        const OvcClick* click = data;
        const intptr_t x = click->x < 0 ? 0 : (click->x > 65535 ? 65535 : click->x);
        const intptr_t y = click->y < 0 ? 0 : (click->y > 65535 ? 65535 : click->y);
        ovc_send(&program, OVC_MSG_SET, OVC_W(1, OVC_SET_VALUE), (intptr_t)(x << 16 | y));
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b, cx, cy;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        ovc_point(centre, env->width, env->height, &cx, &cy);
        const double reach =
            radius / 100.0 * 0.5 *
            sqrt((double)env->width * env->width + (double)env->height * env->height);
        const double s = (strength < 0 ? 0 : (strength > 100 ? 100 : strength)) / 100.0;
        const int cr = (colour >> 16) & 255, cg = (colour >> 8) & 255, cb = colour & 255;
        for (intptr_t y = t; y <= b; ++y)
            for (intptr_t x = l; x <= r; ++x) {
                const intptr_t i = y * env->width + x;
                if (!ovc_writes(env, i)) continue;
                double d = sqrt((double)(x - cx) * (x - cx) + (double)(y - cy) * (y - cy)) / reach;
                d = d > 1 ? 1 : d;
                const double f = s * d * d, g = 1 - f;
                const uint32_t p = env->src[i];
                env->dst[i] = ovc_rgb((int)(((p >> 16) & 255) * g + cr * f + 0.5),
                                      (int)(((p >> 8) & 255) * g + cg * f + 0.5),
                                      (int)((p & 255) * g + cb * f + 0.5));
            }
    }
}
