#pragma once

#include "model16/MemoryImage.h"
#include "shell/ChannelView.h"

namespace varo::model16::ui {

class CVaro_16Doc;

// The channel table view of a Varo16 document (17 x 9: the channel table of
// the 16-channel radio) with the one command that is this radio's own: Scan
// Info (32780), held back like the others while a transfer runs.
class CVaro_16View : public shell::CChannelView {
  Q_OBJECT

 public:
  CVaro_16View(shell::CShellApp& app, CVaro_16Doc& doc, QWidget* parent = nullptr);

  MemoryImage& Image() const;

  bool OnCommand(int id) override;
  std::optional<bool> CommandEnabled(int id) const override;

 private:
  void OnScanInfo();
};

}  // namespace varo::model16::ui
