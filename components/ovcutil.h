/* Small helpers for component authors, on top of ovc.h. Optional: nothing here is part of the
 * interface itself. */
#ifndef OVCUTIL_H
#define OVCUTIL_H

#include "ovc.h"

/* The rectangle of env clipped to the picture; returns 0 when nothing is left to process. */
static inline int ovc_clip(const OvcEnv* env, intptr_t* l, intptr_t* t, intptr_t* r, intptr_t* b) {
    if (!env || !env->src || !env->dst || env->width <= 0 || env->height <= 0) return 0;
    *l = env->left < 0 ? 0 : env->left;
    *t = env->top < 0 ? 0 : env->top;
    *r = env->right >= env->width ? env->width - 1 : env->right;
    *b = env->bottom >= env->height ? env->height - 1 : env->bottom;
    return *l <= *r && *t <= *b;
}

/* Whether the pixel at index i may be written: with markedOnly, only marked source pixels. */
static inline int ovc_writes(const OvcEnv* env, intptr_t i) {
    return !env->markedOnly || (env->src[i] & OVC_MARK);
}

static inline int ovc_clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

static inline uint32_t ovc_rgb(int r, int g, int b) {
    return (uint32_t)ovc_clamp255(r) << 16 | (uint32_t)ovc_clamp255(g) << 8 |
           (uint32_t)ovc_clamp255(b);
}

/* Progress for long runs over the picture itself: call ovc_progress_start once, then
 * ovc_progress(env, done, total) every few rows; it returns 1 when the user pressed Stop.
 * Previews stay silent, they are short. */
static inline void ovc_progress_start(const OvcEnv* env) {
    if (env->final) ovc_send(env, OVC_MSG_STEPS, 100, 0);
}
static inline int ovc_progress(const OvcEnv* env, intptr_t done, intptr_t total) {
    if (!env->final || total <= 0) return 0;
    return ovc_send(env, OVC_MSG_STEP, (uintptr_t)(done * 100 / total), 0) == 1;
}

/* A point parameter (x in the high, y in the low 16 bits, fractions of 65535) in pixels. */
static inline void ovc_point(int32_t packed, intptr_t width, intptr_t height, intptr_t* x,
                             intptr_t* y) {
    uint32_t v = (uint32_t)packed;
    *x = (intptr_t)((int64_t)(v >> 16) * (width - 1) / 65535);
    *y = (intptr_t)((int64_t)(v & 0xFFFFu) * (height - 1) / 65535);
}

#endif
