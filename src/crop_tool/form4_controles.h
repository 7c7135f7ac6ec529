// Captions, places (twips: left, top, width, height) and fonts of the crop tool window's
// controls. Places inside the frame are relative to it.
#pragma once

#include "ui/twips.h"

namespace medravolix::crop_tool::controles {

inline constexpr const char* kCaption = "MEDRAVOLIX";
inline constexpr double kAnchoCliente = 12735;
inline constexpr double kAltoCliente = 10095;

inline constexpr const char* kFuenteComic = "Comic Sans MS";
inline constexpr const char* kFuenteVentana = "MS Reference Sans Serif";

struct Control {
  const char* caption;
  ui::TwipsRect lugar;
};

inline constexpr Control kLabel3{
    "Calculation of parameters of yearly crop rotations and tree crops", {960, 240, 11055, 495}};
inline constexpr Control kFrame1{"Crop type:", {960, 1080, 3495, 975}};
inline constexpr Control kOption1[] = {{"Annual", {240, 480, 1215, 255}},
                                       {"Tree", {2040, 480, 1215, 255}}};
inline constexpr Control kLabel1[] = {{"Crop:", {5880, 1080, 735, 375}},
                                      {"Length/day:", {10680, 1080, 1335, 495}},
                                      {"Crop parameters:", {960, 2280, 2175, 375}},
                                      {"Crop calendar:", {960, 3960, 1695, 375}},
                                      {"Selected crops:", {7560, 5400, 1815, 375}},
                                      {"Basal crop coefficients:", {960, 5280, 2655, 375}}};
inline constexpr ui::TwipsRect kCombo1{5880, 1560, 3495, 465};
inline constexpr ui::TwipsRect kCombo2{10680, 1560, 1215, 465};
inline constexpr ui::TwipsRect kGrid{960, 2760, 7695, 975};
inline constexpr ui::TwipsRect kPicture1{960, 4440, 10995, 400};
inline constexpr ui::TwipsRect kText1{960, 4680, 1335, 345};
inline constexpr ui::TwipsRect kPicture2{960, 5760, 6000, 3750};
inline constexpr ui::TwipsRect kList1{7560, 5880, 4500, 930};
inline constexpr Control kCommand[] = {{"", {}},
                                       {"Annotate", {9000, 7440, 3015, 615}},
                                       {"Clear", {9000, 8160, 3015, 615}},
                                       {"Close", {9000, 8880, 3015, 615}}};

}  // namespace medravolix::crop_tool::controles
