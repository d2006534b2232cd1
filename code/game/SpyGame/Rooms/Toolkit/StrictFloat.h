#pragma once
#include "tk2v/util/types.h"

#include <string>

class aOptionsFile;

// A float key of the current section that must be a number as a whole ("9.81", "-2", "1e3"): text
// around it, an empty or missing value, and infinities or NaN are refused. A refused value leaves
// `value` as it was, with one line naming the reader, the key and the value kept.
bool ReadStrictFloat(const aOptionsFile& ini, const std::string& key, f32& value, const std::string& reader);
