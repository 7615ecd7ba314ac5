// Argument parsing shared by the picture commands (resample, render).
#pragma once

#include <string>

namespace tovani::cli {

// "WIDTHxHEIGHT", both 1..32767.
bool ParseSize(const std::string& s, int& width, int& height);
// The same for a picture to be made: also at most 64 megapixels in all. Answers "" when the
// size is good, else what is wrong with it.
std::string PictureSizeProblem(const std::string& s, int& width, int& height);
// A count 1..100000.
bool ParseCount(const std::string& s, int& count);
// A resampling filter by name, without regard to case; -1 when there is none.
int FilterByName(const std::string& name);

} // namespace tovani::cli
