// Shared check for the module tests: the tooltip shown at a gauge pixel.
#pragma once

#include <gtest/gtest.h>

#include "panel_host.h"

// help 0: no tooltip at (x, y); otherwise the host's help text for that identifier.
inline void expect_help_tooltip(host::PanelHost& host, host::GaugeInstance& gauge, int x, int y, uint32_t help) {
  const host::Tooltip& tip = host.hover(gauge, x, y);
  if (help == 0) {
    EXPECT_EQ(tip.kind, host::Tooltip::Kind::None) << x << "," << y;
  } else {
    EXPECT_EQ(tip.kind, host::Tooltip::Kind::Help) << x << "," << y;
    EXPECT_EQ(tip.help_id, help) << x << "," << y;
  }
}
