#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "radio/RadioModel.h"

namespace varo::models {

// Every radio model of the suite, in the order the tools list them.
const std::vector<const radio::RadioModel*>& All();

// The model --model names ("16", "199"); null when there is none of that name.
const radio::RadioModel* ByName(const std::string& name);

// The model whose memory is `size` bytes; null when there is none.
const radio::RadioModel* BySize(std::size_t size);

// "16, 199": the names, for messages.
std::string Names();

}  // namespace varo::models
