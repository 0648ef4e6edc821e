/* A component for the dialog's tests: it records the commands it is sent and the last packed
 * values, and paints its rectangle white when it processes. The tests read the record through
 * the rec_* functions of the same loaded library. */
#include "ovc.h"

OVC_EXPORT const char *OVCDESC = "Ver=1.5\r"
                                 "Name=Recorder\r"
                                 "Copyright=Test\r"
                                 "Contact=nobody\r"
                                 "Opt=W\r"
                                 "Par1=I,Radius,1,100,10\r"
                                 "Par2=F2,Amount,1,0.5,0,10,1\r"
                                 "Par3=S,Strength,0,255,128\r";

static uint32_t commands[1024];
static int count;
static unsigned char values[OVC_VALUES_SIZE];
static intptr_t lastFinal = -1;

OVC_EXPORT int rec_count(void) { return count; }
OVC_EXPORT uint32_t rec_command(int i) { return i >= 0 && i < count && i < 1024 ? commands[i] : 0; }
OVC_EXPORT const unsigned char *rec_values(void) { return values; }
OVC_EXPORT intptr_t rec_final(void) { return lastFinal; }
OVC_EXPORT void rec_reset(void)
{
    count = 0;
    lastFinal = -1;
}

OVC_EXPORT void OVCPROCESS(void *data, uint32_t command)
{
    if (count < 1024) commands[count] = command;
    ++count;
    if (command == OVC_PARAMS && data) memcpy(values, data, sizeof values);
    if (command == OVC_PROCESS && data) {
        const OvcEnv *env = data;
        lastFinal = env->final;
        for (intptr_t y = env->top; y <= env->bottom; ++y)
            for (intptr_t x = env->left; x <= env->right; ++x) env->dst[y * env->width + x] = 0xFFFFFF;
    }
}
