/* The component interface of Orvel Paint: everything a component author needs, in C.
 *
 * A component is a shared library named *.ovc placed in the Comps folder beside the program
 * (one submenu per subfolder). It exports, with C linkage:
 *
 *   OVC_EXPORT const char *OVCDESC = "Ver=1.5\rName=...\r...";   (or)
 *   OVC_EXPORT const char *OVCGETDESC(void);                     (used when OVCDESC is absent)
 *   OVC_EXPORT void OVCPROCESS(void *data, uint32_t command);    (required)
 *
 * The program sends the commands below to OVCPROCESS, always from one thread at a time.
 * Pixels are 32-bit 0x00RRGGBB; rows follow each other without gaps. The top byte of a source
 * pixel may carry marks (OVC_MARK); write 0 there.
 */
#ifndef OVC_H
#define OVC_H

#include <stdint.h>
#include <string.h>

#ifdef __cplusplus
#define OVC_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define OVC_EXPORT __attribute__((visibility("default")))
#endif

/* Defines the OVCDESC export; in C++ too, where an initialised extern "C" variable must sit in
 * a linkage block. */
#ifdef __cplusplus
#define OVC_DESCRIPTOR(text)                                                                      \
    extern "C" {                                                                                  \
    __attribute__((visibility("default"))) const char *OVCDESC = text;                            \
    }
#else
#define OVC_DESCRIPTOR(text) OVC_EXPORT const char *OVCDESC = text;
#endif

/* Commands of OVCPROCESS(data, command). */
enum {
    OVC_START = 4493,   /* data: OvcEnv*, the whole picture; once, before anything else */
    OVC_PARAMS = 4494,  /* data: the 80-byte packed values (see ovc_int / ovc_double) */
    OVC_BUTTON = 4495,  /* data: const int32_t*, the place (1..10) of the pressed button */
    OVC_PROCESS = 4496, /* data: OvcEnv*, process its rectangle from src into dst */
    OVC_END = 4497,     /* data: NULL; the component's tool ends */
    OVC_CLICK = 4498    /* data: const OvcClick*, a click on the picture or on the preview */
};

/* Messages a component sends to the program with ovc_send(env, message, w, l). The program
 * acts on them only while the component's tool is the current tool. w carries a parameter's
 * place n (1..10) in its low 16 bits and a sub-command in its high 16 bits (OVC_W). */
enum {
    OVC_MSG_PREVIEW = 5493, /* as if Preview were pressed (queued while OVCPROCESS runs) */
    OVC_MSG_OK = 5494,      /* as if Ok were pressed (queued) */
    OVC_MSG_CANCEL = 5495,  /* as if Cancel were pressed (queued) */
    OVC_MSG_RESIZE = 5496,  /* the picture becomes (w & 0xFFFF) x l pixels */
    OVC_MSG_SET = 5497,     /* sets parameter n, see the sub-commands below */
    OVC_MSG_STEP = 5498,    /* progress to (w & 0xFFFF); returns 1 when the user stopped */
    OVC_MSG_STEPS = 5499,   /* the progress maximum becomes (w & 0xFFFF) */
    OVC_MSG_NOTIFY_ON = 5500,
    OVC_MSG_NOTIFY_OFF = 5501
};
#define OVC_W(place, sub) ((uintptr_t)(((uint32_t)(sub) << 16) | ((uint32_t)(place) & 0xFFFFu)))

/* OVC_MSG_SET sub-commands: 0 sets the value (l, or a double* for decimals), 1 sets the
 * caption (l is a const char*), 2/3/4 set lowest/highest/step of numbers and sliders, 5 the
 * decimals of a decimal edit. A point's value is x in the high and y in the low 16 bits, each
 * a fraction of 65535. */
enum { OVC_SET_VALUE = 0, OVC_SET_CAPTION = 1, OVC_SET_LOW = 2, OVC_SET_HIGH = 3, OVC_SET_STEP = 4,
       OVC_SET_DECIMALS = 5 };

#define OVC_MARK 0x01000000u /* a source pixel under the brush when used as a brush */

typedef struct OvcImage { /* one of the ten picture slots; pixels NULL when the slot is empty */
    uint32_t *pixels;
    intptr_t width, height;
} OvcImage;

typedef intptr_t (*OvcHostCall)(void *host, uint32_t message, uintptr_t w, intptr_t l);

/* The environment record of OVC_START and OVC_PROCESS; every field is pointer-sized. */
typedef struct OvcEnv {
    const uint32_t *src; /* the untouched picture (pixel 0, 0) */
    uint32_t *dst;       /* the picture to write */
    intptr_t width, height;
    intptr_t left, top, right, bottom; /* the inclusive rectangle to process */
    intptr_t markedOnly;               /* 1: only pixels whose source carries OVC_MARK */
    intptr_t final;                    /* 1: over the picture itself, 0: a preview */
    intptr_t foreground, background;   /* 0x00RRGGBB */
    const int32_t *cosine;             /* = sine + 256 */
    const int32_t *sine;               /* 1280 entries, 512 * sin(2 pi k / 1024), truncated */
    void *host;                        /* the program's handle, for ovc_send */
    const OvcImage *images;            /* ten slots; the current one shows its untouched copy */
    intptr_t current;                  /* the current picture's slot, 1..10 */
    const int32_t *table3;             /* 1024 entries of the drawing tools' table */
    OvcHostCall call;                  /* the program's message entry */
} OvcEnv;

typedef struct OvcClick { /* OVC_CLICK */
    intptr_t x, y;        /* 0..65535 over the clicked picture's width - 1 and height - 1 */
    intptr_t width, height;
    intptr_t right;   /* 1: right button */
    intptr_t preview; /* 1: in the dialog's preview, 0: on the picture */
} OvcClick;

/* Sends a message to the program; returns its answer (0 when the program has no callback). */
static inline intptr_t ovc_send(const OvcEnv *env, uint32_t message, uintptr_t w, intptr_t l)
{
    return env && env->call ? env->call(env->host, message, w, l) : 0;
}

/* The packed values of OVC_PARAMS: the parameters in place order, 4 bytes each (8 for
 * decimals), none for buttons; read at a byte offset, never through a cast pointer. */
static inline int32_t ovc_int(const void *values, unsigned offset)
{
    int32_t v;
    memcpy(&v, (const unsigned char *)values + offset, sizeof v);
    return v;
}
static inline double ovc_double(const void *values, unsigned offset)
{
    double v;
    memcpy(&v, (const unsigned char *)values + offset, sizeof v);
    return v;
}
#define OVC_VALUES_SIZE 80

#endif
