// The disc scan's progress display: the shared progress window.
#pragma once
#include <memory>

#include "browse/scan_progress.h"

std::unique_ptr<ScanProgress> MakeProgressWindowScan();
