// Resource numbers of the skin images. The skin factory paints each image
// once, on first use, at the size listed here; nothing is loaded from disk.
//
// Faders keep the numbers and sizes the pages were laid out for. A skinned
// button has six images (pressed-normal, pressed-hover, pressed-held,
// released-normal, released-hover, released-held) at base + 0 … 5 in
// English and base + 6 … 11 in Chinese; SkinButtonImages() picks the
// language of the moment.
#pragma once

// ---- faders: channel (slot) and thumb --------------------------------------
constexpr int kSkinOutFaderChannel = 217;   // 25 × 92, output page, range 0 … 400
constexpr int kSkinOutFaderThumb = 218;     // 16 × 25
constexpr int kSkinLevelThumb = 280;        // 15 × 21, main form channel level
constexpr int kSkinLevelChannel = 281;      // 35 × 108
constexpr int kSkinLevelThumbActive = 282;  // 15 × 21
constexpr int kSkinLevelChannelActive = 283;// 35 × 108
constexpr int kSkinVolumeChannel = 357;     // 50 × 154, music volume
constexpr int kSkinVolumeThumb = 358;       // 20 × 29

// ---- form backgrounds ---------------------------------------------------------
constexpr int kSkinFormEnglish = 284;
constexpr int kSkinFormChinese = 285;

// ---- delay manager: the room picture and the dialog's own buttons --------------
constexpr int kSkinRoomEnglish = 290;       // 675 × 484, the dialog's whole client area
constexpr int kSkinRoomChinese = 291;
// Seven buttons (SkinRoom::Button) × English, Chinese × normal, hover, held.
constexpr int kSkinRoomButtonFirst = 300;   // … 341

// ---- buttons: base numbers (12 images each, see above) -------------------------
constexpr int kSkinButtonStride = 20;
constexpr int kSkinChannelSelect = 1000;    // + 20 × i: "CH1" … "CH6" (8900 + i)
constexpr int kSkinChannelTag = 1200;       // + 20 × i: small "1" … "6" tags (6703 + i)
constexpr int kSkinMute = 1400;             // "MUTE"
constexpr int kSkinPolarity = 1420;         // "POL"
constexpr int kSkinLine = 1440;             // "Line": curve shown on the graph
constexpr int kSkinPosition = 1500;         // + 20 × p: "1" … "4"
constexpr int kSkinPairLink = 1600;         // + 20 × p: "CH1+2", "CH3+4", "CH5+6"
constexpr int kSkinLinkAll = 1700;          // "LINK ALL"
constexpr int kSkinDelay = 1720;            // "DELAY": delay manager
constexpr int kSkinProgram = 1740;
constexpr int kSkinSystem = 1760;
constexpr int kSkinReport = 1780;
constexpr int kSkinAbout = 1800;
constexpr int kSkinConnect = 1820;          // released "CONNECT", pressed (connected) "DISCONNECT"
constexpr int kSkinReset = 1840;            // "Reset": equalizer reset
constexpr int kSkinBypass = 1900;           // output page band bypass "BYP"
constexpr int kSkinEqMode = 1920;           // released "PEQ", pressed "GEQ"
constexpr int kSkinAllBypass = 1940;        // "ALLBYPASS"
constexpr int kSkinButtonLast = 1940;

// ---- sizes ---------------------------------------------------------------------
constexpr int kSkinFormWidth = 1260;        // both form backgrounds
constexpr int kSkinFormHeight = 725;
constexpr int kSkinButtonImages = 12;       // per base: 6 English, then 6 Chinese
