#pragma once

#include <QString>
#include <QStringList>
#include <QtTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "radio/GridControl.h"
#include "radio/MemoryGrid.h"
#include "radio/RadioModel.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"

// What the programmers' transfer tests share: a simulated radio behind a
// port variable, and a channel table as one list of texts (tests that include
// this link varo_radiosim).
namespace varo::test {

// A simulated radio of `config` holding `contents`, on a pseudo-terminal that
// the environment variable `variable` names for as long as it lives.
class RadioBehindPort {
 public:
  RadioBehindPort(radiosim::RadioConfig config, radiosim::Fault fault,
                  const radio::MemoryImage& contents, std::string variable)
      : RadioBehindPort(std::make_unique<radiosim::CloneRadio>(std::move(config), fault), {},
                        std::move(variable)) {
    radio_->SetMemory({contents.bytes.begin(), contents.bytes.end()});
  }
  // Any radio model (a fleet of radios, say) with its options.
  RadioBehindPort(std::unique_ptr<radiosim::RadioModel> model, radiosim::SimOptions options,
                  std::string variable)
      : variable_(std::move(variable)) {
    radio_ = std::make_unique<radiosim::SimulatedRadio>(std::move(model), std::move(options));
    std::string error;
    if (!radio_->Open(error)) qFatal("radio: %s", error.c_str());
    radio_->Start();
    setenv(variable_.c_str(), radio_->PortPath().c_str(), 1);
  }
  ~RadioBehindPort() { unsetenv(variable_.c_str()); }

  radiosim::SimulatedRadio* operator->() const { return radio_.get(); }

 private:
  std::string variable_;
  std::unique_ptr<radiosim::SimulatedRadio> radio_;
};

// The texts of every channel cell of `grid`, row by row.
inline QStringList TableTexts(const radio::GridControl& grid) {
  QStringList texts;
  for (long row = 1; row < grid.Rows(); ++row)
    for (long col = 1; col < grid.Cols(); ++col)
      texts << QString::fromStdString(grid.TextMatrix(row, col));
  return texts;
}

// The same for the table `model` decodes from `image`.
inline QStringList TableTexts(const radio::RadioModel& model, const radio::MemoryImage& image,
                              bool chinese) {
  radio::MemoryGrid grid(model.table->Rows(), model.table->Cols());
  model.imageToTable(image, grid, chinese);
  return TableTexts(grid);
}

}  // namespace varo::test
