#include "models/Models.h"

#include "model16/Model16.h"
#include "model199/Model199.h"

namespace varo::models {

const std::vector<const radio::RadioModel*>& All() {
  static const std::vector<const radio::RadioModel*> models{&model16::Model16(),
                                                                  &model199::Model199()};
  return models;
}

const radio::RadioModel* ByName(const std::string& name) {
  for (const radio::RadioModel* model : All()) {
    if (model->name == name) return model;
  }
  return nullptr;
}

const radio::RadioModel* BySize(std::size_t size) {
  for (const radio::RadioModel* model : All()) {
    if (model->imageSize == size) return model;
  }
  return nullptr;
}

std::string Names() {
  std::string names;
  for (const radio::RadioModel* model : All()) names += (names.empty() ? "" : ", ") + model->name;
  return names;
}

}  // namespace varo::models
