#pragma once

// The most memory this process has held at once so far, in MiB (its peak
// resident set; on Windows its peak working set).
long peakMemoryMiB();
