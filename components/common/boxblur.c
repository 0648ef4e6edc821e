#include "boxblur.h"

#include <stdlib.h>

BoxPlane box_grow(const OvcEnv* env, intptr_t l, intptr_t t, intptr_t r, intptr_t b,
                  intptr_t margin) {
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

/* Horizontal sums of one picture row y for the columns of out, three ints a pixel. The window
 * grows and shrinks only near the picture's sides; between them it slides by one. */
static void row_sums(const BoxPlane* in, const BoxPlane* out, intptr_t width, intptr_t radius,
                     intptr_t y, int32_t* sums) {
    const uint32_t* row = in->pixels + (y - in->y0) * in->stride;
    const intptr_t off = in->x0;
    const intptr_t x0 = out->x0, x1 = out->x0 + out->w;
    intptr_t lo = x0 - radius < 0 ? 0 : x0 - radius;
    const intptr_t hi0 = x0 + radius >= width ? width - 1 : x0 + radius;
    int32_t r = 0, g = 0, b = 0;
    for (intptr_t i = lo; i <= hi0; ++i) {
        const uint32_t p = row[i - off];
        r += (p >> 16) & 255;
        g += (p >> 8) & 255;
        b += p & 255;
    }
    intptr_t hi = hi0;
    for (intptr_t x = x0; x < x1; ++x, sums += 3) {
        if (x > x0) {
            if (x + radius < width) {
                const uint32_t p = row[++hi - off];
                r += (p >> 16) & 255;
                g += (p >> 8) & 255;
                b += p & 255;
            }
            if (x - radius - 1 >= 0) {
                const uint32_t p = row[lo++ - off];
                r -= (p >> 16) & 255;
                g -= (p >> 8) & 255;
                b -= p & 255;
            }
        }
        sums[0] = r;
        sums[1] = g;
        sums[2] = b;
    }
}

/* Rounded division by n through a multiplication: exact while sum <= 255 n and n < 2^18. */
static uint64_t reciprocal(int32_t n) {
    return (((uint64_t)1 << 50) + (uint64_t)n - 1) / (uint64_t)n;
}
static uint32_t divide(int32_t sum, int32_t n, uint64_t m) {
    return (uint32_t)(((uint64_t)(sum + n / 2) * m) >> 50);
}

int box_pass(const OvcEnv* env, const BoxPlane* in, const BoxPlane* out, intptr_t radius,
             const uint32_t* mask, const BoxProgress* progress) {
    const intptr_t w = out->w, ring = 2 * radius + 2;
    int32_t* sums = malloc(sizeof(int32_t) * 3 * (size_t)(w * ring));
    int32_t* vsum = calloc((size_t)(3 * w), sizeof(int32_t));
    int32_t* cols = malloc(sizeof(int32_t) * (size_t)w);
    uint64_t* recip = malloc(sizeof(uint64_t) * (size_t)w);
    int32_t recipRows = 0;
    int ok = sums && vsum && cols && recip;
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
                int32_t* s = sums + 3 * w * ((hi + 1) % ring);
                row_sums(in, out, env->width, radius, hi + 1, s);
                for (intptr_t i = 0; i < 3 * w; ++i) vsum[i] += s[i];
            }
            for (; lo < nlo; ++lo) {
                const int32_t* s = sums + 3 * w * (lo % ring);
                for (intptr_t i = 0; i < 3 * w; ++i) vsum[i] -= s[i];
            }
            const int32_t rows = (int32_t)(hi - lo + 1);
            if (rows != recipRows) { /* changes only near the top and bottom */
                recipRows = rows;
                for (intptr_t i = 0; i < w; ++i) recip[i] = reciprocal(rows * cols[i]);
            }
            uint32_t* dst = out->pixels + (y - out->y0) * out->stride;
            const uint32_t* m = mask ? mask + y * env->width + out->x0 : NULL;
            for (intptr_t i = 0; i < w; ++i) {
                if (m && !(m[i] & OVC_MARK)) continue;
                const int32_t n = rows * cols[i];
                dst[i] = divide(vsum[3 * i], n, recip[i]) << 16 |
                         divide(vsum[3 * i + 1], n, recip[i]) << 8 |
                         divide(vsum[3 * i + 2], n, recip[i]);
            }
            if (progress && (y & 15) == 0 &&
                ovc_progress(env, progress->pass * out->h + y - out->y0,
                             progress->passes * out->h)) {
                ok = 0;
                break;
            }
        }
    }
    free(sums);
    free(vsum);
    free(cols);
    free(recip);
    return ok;
}

int box_blur(const OvcEnv* env, const BoxPlane* out, intptr_t radius, int passes,
             const uint32_t* mask, int progress) {
    const intptr_t l = out->x0, t = out->y0, r = out->x0 + out->w - 1, b = out->y0 + out->h - 1;
    BoxPlane in = {(uint32_t*)env->src, 0, 0, env->width, env->height, env->width};
    BoxPlane tmp[2] = {{0}, {0}};
    int ok = 1;
    if (passes < 1) passes = 1;
    if (radius < 0) radius = 0;
    for (int p = 1; p <= passes && ok; ++p) {
        const BoxProgress step = {p - 1, passes};
        if (p == passes) {
            ok = box_pass(env, &in, out, radius, mask, progress ? &step : NULL);
            break;
        }
        /* Earlier passes cover the rectangle grown by what the later passes still read. */
        BoxPlane* next = &tmp[p & 1];
        free(next->pixels);
        *next = box_grow(env, l, t, r, b, radius * (passes - p));
        next->pixels = malloc(sizeof(uint32_t) * (size_t)(next->w * next->h));
        ok = next->pixels && box_pass(env, &in, next, radius, NULL, progress ? &step : NULL);
        in = *next;
    }
    free(tmp[0].pixels);
    free(tmp[1].pixels);
    return ok;
}
