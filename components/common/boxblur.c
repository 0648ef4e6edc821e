#include "boxblur.h"

#include <stdlib.h>

BoxPlane box_grow(const OvcEnv *env, intptr_t l, intptr_t t, intptr_t r, intptr_t b,
                  intptr_t margin)
{
    BoxPlane p;
    l = l - margin < 0 ? 0 : l - margin;
    t = t - margin < 0 ? 0 : t - margin;
    r = r + margin >= env->width ? env->width - 1 : r + margin;
    b = b + margin >= env->height ? env->height - 1 : b + margin;
    p.pixels = NULL;
    p.x0 = l;
    p.y0 = t;
    p.w = r - l + 1;
    p.h = b - t + 1;
    p.stride = p.w;
    return p;
}

/* Horizontal sums of one picture row y for the columns of out, three ints a pixel. */
static void row_sums(const BoxPlane *in, const BoxPlane *out, intptr_t width, intptr_t radius,
                     intptr_t y, int32_t *sums)
{
    const uint32_t *row = in->pixels + (y - in->y0) * in->stride;
    const intptr_t x0 = in->x0;
    intptr_t x = out->x0, lo = x - radius < 0 ? 0 : x - radius, hi = lo - 1;
    int32_t r = 0, g = 0, b = 0;
    for (; x < out->x0 + out->w; ++x, sums += 3) {
        intptr_t nlo = x - radius < 0 ? 0 : x - radius;
        intptr_t nhi = x + radius >= width ? width - 1 : x + radius;
        for (; hi < nhi; ++hi) {
            uint32_t p = row[hi + 1 - x0];
            r += (p >> 16) & 255;
            g += (p >> 8) & 255;
            b += p & 255;
        }
        for (; lo < nlo; ++lo) {
            uint32_t p = row[lo - x0];
            r -= (p >> 16) & 255;
            g -= (p >> 8) & 255;
            b -= p & 255;
        }
        sums[0] = r;
        sums[1] = g;
        sums[2] = b;
    }
}

int box_pass(const OvcEnv *env, const BoxPlane *in, const BoxPlane *out, intptr_t radius,
             const uint32_t *mask, int progress)
{
    const intptr_t w = out->w, ring = 2 * radius + 2;
    int32_t *sums = malloc(sizeof(int32_t) * 3 * (size_t)(w * ring));
    int32_t *vsum = calloc((size_t)(3 * w), sizeof(int32_t));
    int32_t *cols = malloc(sizeof(int32_t) * (size_t)w);
    int ok = sums && vsum && cols;
    if (ok) {
        /* The window's width (in-picture columns) of every output column. */
        for (intptr_t i = 0; i < w; ++i) {
            intptr_t x = out->x0 + i;
            intptr_t lo = x - radius < 0 ? 0 : x - radius;
            intptr_t hi = x + radius >= env->width ? env->width - 1 : x + radius;
            cols[i] = (int32_t)(hi - lo + 1);
        }
        intptr_t y = out->y0, lo = y - radius < 0 ? 0 : y - radius, hi = lo - 1;
        for (; y < out->y0 + out->h; ++y) {
            intptr_t nlo = y - radius < 0 ? 0 : y - radius;
            intptr_t nhi = y + radius >= env->height ? env->height - 1 : y + radius;
            for (; hi < nhi; ++hi) {
                int32_t *s = sums + 3 * w * ((hi + 1) % ring);
                row_sums(in, out, env->width, radius, hi + 1, s);
                for (intptr_t i = 0; i < 3 * w; ++i) vsum[i] += s[i];
            }
            for (; lo < nlo; ++lo) {
                const int32_t *s = sums + 3 * w * (lo % ring);
                for (intptr_t i = 0; i < 3 * w; ++i) vsum[i] -= s[i];
            }
            const int32_t rows = (int32_t)(hi - lo + 1);
            uint32_t *dst = out->pixels + (y - out->y0) * out->stride;
            const uint32_t *m = mask ? mask + y * env->width + out->x0 : NULL;
            for (intptr_t i = 0; i < w; ++i) {
                if (m && !(m[i] & OVC_MARK)) continue;
                const int32_t n = rows * cols[i];
                dst[i] = (uint32_t)((vsum[3 * i] + n / 2) / n) << 16 |
                         (uint32_t)((vsum[3 * i + 1] + n / 2) / n) << 8 |
                         (uint32_t)((vsum[3 * i + 2] + n / 2) / n);
            }
            if (progress && (y & 15) == 0 && ovc_progress(env, y - out->y0, out->h)) {
                ok = 0;
                break;
            }
        }
    }
    free(sums);
    free(vsum);
    free(cols);
    return ok;
}

int box_blur(const OvcEnv *env, const BoxPlane *out, intptr_t radius, int passes,
             const uint32_t *mask, int progress)
{
    const intptr_t l = out->x0, t = out->y0, r = out->x0 + out->w - 1, b = out->y0 + out->h - 1;
    BoxPlane in = {(uint32_t *)env->src, 0, 0, env->width, env->height, env->width};
    BoxPlane tmp[2] = {{0}, {0}};
    int ok = 1;
    if (passes < 1) passes = 1;
    if (radius < 0) radius = 0;
    for (int p = 1; p <= passes && ok; ++p) {
        if (p == passes) {
            ok = box_pass(env, &in, out, radius, mask, progress);
            break;
        }
        /* Earlier passes cover the rectangle grown by what the later passes still read. */
        BoxPlane *next = &tmp[p & 1];
        free(next->pixels);
        *next = box_grow(env, l, t, r, b, radius * (passes - p));
        next->pixels = malloc(sizeof(uint32_t) * (size_t)(next->w * next->h));
        ok = next->pixels && box_pass(env, &in, next, radius, NULL, 0);
        in = *next;
    }
    free(tmp[0].pixels);
    free(tmp[1].pixels);
    return ok;
}
