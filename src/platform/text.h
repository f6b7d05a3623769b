// SPDX-License-Identifier: MIT
// A word or line the player reads, named by its Japanese source text; the platform shows it in the
// player's language.
#pragma once

namespace kanuvo {

// The Japanese is the game's own wording and the key of every translation. A source may hold "%1"
// where a number or a time goes (see FillIn).
struct Text {
    const char* context;  // where it shows, for the translator: "Board", "Buttons", "Banners", ...
    const char* source;   // UTF-8
};

}  // namespace kanuvo

// Every text the player reads is written through this marker, so that the translation tools find it
// and list it in translations/kanuvo_en.ts (`cmake --build build --target update_translations`).
#define KANUVO_TEXT(context, source) ::kanuvo::Text{context, source}
