/* Hue and saturation: turns the colour wheel, makes colours richer or greyer and the picture
 * lighter or darker; Colourise gives the whole picture one hue instead. */
#include "../ovcutil.h"

OVC_EXPORT const char* OVCDESC = "Ver=1.5\r"
                                 "Name=Hue and Saturation\r"
                                 "Copyright=Orvel Paint components\r"
                                 "Contact=Orvel Paint help: Components\r"
                                 "Help=huesat.html,100\r"
                                 "Opt=WP\r"
                                 "Par1=S,Hue,-180,180,0\r"
                                 "Par2=S,Saturation,-100,100,0\r"
                                 "Par3=S,Lightness,-100,100,0\r"
                                 "Par4=C2,Colourise,0\r";

static int32_t hue = 0, saturation = 0, lightness = 0, colourise = 0;

static double channel(double p, double q, double h) {
    h = h < 0 ? h + 1 : (h > 1 ? h - 1 : h);
    if (h < 1.0 / 6) return p + (q - p) * 6 * h;
    if (h < 0.5) return q;
    if (h < 2.0 / 3) return p + (q - p) * (2.0 / 3 - h) * 6;
    return p;
}

static uint32_t adjust(uint32_t px) {
    const double r = ((px >> 16) & 255) / 255.0, g = ((px >> 8) & 255) / 255.0,
                 b = (px & 255) / 255.0;
    const double mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const double mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    double h = 0, s = 0, l = (mx + mn) / 2;
    if (mx > mn) {
        const double d = mx - mn;
        s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
        h = mx == r ? (g - b) / d + (g < b ? 6 : 0) : (mx == g ? (b - r) / d + 2 : (r - g) / d + 4);
        h /= 6;
    }
    if (colourise) {
        h = (hue + 180) / 360.0;
        s = 0.5 + saturation / 200.0;
    } else {
        h += hue / 360.0;
        h -= h >= 1 ? 1 : 0;
        h += h < 0 ? 1 : 0;
        s *= 1 + saturation / 100.0;
        s = s > 1 ? 1 : s;
    }
    l = lightness >= 0 ? l + (1 - l) * lightness / 100.0 : l * (1 + lightness / 100.0);
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
    return ovc_rgb((int)(channel(p, q, h + 1.0 / 3) * 255 + 0.5),
                   (int)(channel(p, q, h) * 255 + 0.5),
                   (int)(channel(p, q, h - 1.0 / 3) * 255 + 0.5));
}

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    if (command == OVC_PARAMS && data) {
        hue = ovc_int(data, 0);
        saturation = ovc_int(data, 4);
        lightness = ovc_int(data, 8);
        colourise = ovc_int(data, 12);
        hue = hue < -180 ? -180 : (hue > 180 ? 180 : hue);
        saturation = saturation < -100 ? -100 : (saturation > 100 ? 100 : saturation);
        lightness = lightness < -100 ? -100 : (lightness > 100 ? 100 : lightness);
    } else if (command == OVC_PROCESS && data) {
        const OvcEnv* env = data;
        intptr_t l, t, r, b;
        if (!ovc_clip(env, &l, &t, &r, &b)) return;
        ovc_progress_start(env);
        for (intptr_t y = t; y <= b; ++y) {
            for (intptr_t x = l; x <= r; ++x) {
                const intptr_t i = y * env->width + x;
                if (ovc_writes(env, i)) env->dst[i] = adjust(env->src[i]);
            }
            if ((y & 63) == 0 && ovc_progress(env, y - t, b - t + 1)) return;
        }
    }
}
