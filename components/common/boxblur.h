/* The running-sum box blur shared by the blur and sharpen components. */
#ifndef BOXBLUR_H
#define BOXBLUR_H

#include "../ovcutil.h"

typedef struct BoxPlane { /* pixels of the picture rectangle [x0, x0 + w) x [y0, y0 + h) */
    uint32_t* pixels;
    intptr_t x0, y0, w, h, stride;
} BoxPlane;

/* One box pass of the given radius over a picture of width x height: every pixel of out is the
 * rounded mean of the pixels of in that lie within the radius and inside the picture. in must
 * hold every such pixel. With mask, only pixels whose mask entry carries OVC_MARK are written
 * (mask indexed like the picture). Returns 0 when the user stopped it or memory ran out. */
typedef struct BoxProgress { /* with final runs: this pass among passes, progress and Stop */
    int pass, passes;
} BoxProgress;
int box_pass(const OvcEnv* env, const BoxPlane* in, const BoxPlane* out, intptr_t radius,
             const uint32_t* mask, const BoxProgress* progress);

/* The rectangle r grown by margin on every side, clipped to the picture. */
BoxPlane box_grow(const OvcEnv* env, intptr_t l, intptr_t t, intptr_t r, intptr_t b,
                  intptr_t margin);

/* Blurs the rectangle into out (a plane of exactly that rectangle) with passes passes of the
 * radius. Returns 0 when stopped or out of memory. */
int box_blur(const OvcEnv* env, const BoxPlane* out, intptr_t radius, int passes,
             const uint32_t* mask, int progress);

#endif
