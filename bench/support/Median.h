#pragma once

#include <algorithm>
#include <vector>

// Benches report medians: one run disturbed by the machine moves a median far less than a
// mean, and the ratios are taken against references measured in the same run.
inline double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
