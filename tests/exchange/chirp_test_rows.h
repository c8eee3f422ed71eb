// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

#include "radio/radio_image.h"

namespace qzm::test {

inline const std::string kChirpHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

// A CHIRP row as that tool writes it, placeholders included, with the given
// columns replaced.
inline std::string chirpRow(const std::map<std::string, std::string>& values) {
    const std::vector<std::pair<std::string, std::string>> columns{
        {"Location", "1"},      {"Name", ""},           {"Frequency", "446.006250"},
        {"Duplex", ""},         {"Offset", "0.000000"}, {"Tone", ""},
        {"rToneFreq", "88.5"},  {"cToneFreq", "88.5"},  {"DtcsCode", "023"},
        {"DtcsPolarity", "NN"}, {"RxDtcsCode", "023"},  {"CrossMode", "Tone->Tone"},
        {"Mode", "FM"},         {"TStep", "6.25"},      {"Skip", ""},
        {"Power", "5.0W"},      {"Comment", ""},        {"URCALL", ""},
        {"RPT1CALL", ""},       {"RPT2CALL", ""},       {"DVCODE", ""}};
    std::string line;
    for (const auto& [name, placeholder] : columns) {
        const auto given = values.find(name);
        line += (line.empty() ? "" : ",") + (given == values.end() ? placeholder : given->second);
    }
    return line + "\r\n";
}

// A fresh image of band `bandIndex` (3: 400-470 MHz, 4: 136-174 MHz).
inline RadioImage freshImage(int bandIndex = 3) {
    RadioImage image = RadioImage::fresh();
    image.setBandIndex(bandIndex);
    return image;
}

}  // namespace qzm::test
