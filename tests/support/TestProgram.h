#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QString>

#include "ProgramState.h"
#include "SerialFakes.h"
#include "TZarn.h"
#include "TextPane.h"

// A fresh program: its state as at start, the serial fakes under it, and
// the window made with the given ports present.
class TestProgram {
 public:
  explicit TestProgram(std::set<std::string> ports, std::int64_t counterNs = 0) {
    SelectedPort = 2;
    SourceFileName.clear();
    fakes.port.present = std::move(ports);
    fakes.clock.SetNs(counterNs);
    window = std::make_unique<TZarn>();
  }
  SerialFakes fakes;
  std::unique_ptr<TZarn> window;
};

inline std::vector<QString> Lines(const TextPane* pane) {
  std::vector<QString> lines;
  for (int i = 0; i < pane->LineCount(); ++i) lines.push_back(pane->GetLine(i));
  return lines;
}
