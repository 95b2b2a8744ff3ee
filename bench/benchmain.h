#pragma once
// The body of every benchmark driver's main(): the registered benchmarks run
// inside a Qt application on the offscreen platform (unless the environment
// names another), so that widgets and pictures work without a display.

namespace benchsupport {

int runBenchmarks(int argc, char** argv);

} // namespace benchsupport
