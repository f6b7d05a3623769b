// SPDX-License-Identifier: MIT
// A blank page's program: the same runtime as the game's, which marks its first frame and does nothing.
#include <emscripten.h>

EM_JS(void, kanuvo_blank_frame, (), {
    requestAnimationFrame(() => performance.mark('kanuvo-title'));
});

// The game's one entry from the page, so that the runtime around it is the game's.
extern "C" EMSCRIPTEN_KEEPALIVE void KanuvoPost(int, int, int, int, int) {}

int main() {
    kanuvo_blank_frame();
    return 0;
}
