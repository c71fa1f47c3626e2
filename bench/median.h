#pragma once
// The middle of a benchmark's timings: steadier than the mean on a shared machine.
#include <algorithm>
#include <vector>

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
