#include "radio/RadioModel.h"

namespace varo::radio {

BandLimits FillTableFromImage(const RadioModel& model, MemoryImage& image, GridControl& grid,
                              const IniProfile& ini, const std::string& languageSection,
                              bool chinese, bool newDocument, const TitleSink& setTitle) {
  model.imageToTable(image, grid, chinese);
  return RunBandSelectionStep(image, model.product, ini, languageSection, chinese, newDocument,
                              setTitle);
}

}  // namespace varo::radio
