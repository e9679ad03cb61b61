// The Win32 benchmarks that vexlan_bench.exe runs in turn; each prints its
// figures.
#pragma once

namespace vexlan {
class TApplication;
}

// One tick of the Find Element picker: cursor, hit test, caption, class and
// the three fields, as a share of its 100 ms period.
void MeasurePickerTick(vexlan::TApplication& app);
