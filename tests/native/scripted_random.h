#pragma once
// A generator for tests: hands out a fixed list of draws in order and counts reseeds. Running past the
// end of the list fails the test instead of looping forever.
#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/base/random.h"

namespace kpv::testing {

class ScriptedRandom final : public rt::RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> draws) : draws_(std::move(draws)) {}
    float Next() override {
        if (next_ >= draws_.size()) {
            ADD_FAILURE() << "more draws than scripted (" << draws_.size() << ")";
            throw std::out_of_range("script exhausted");
        }
        return draws_[next_++];
    }
    void Reseed() override { ++reseeds_; }
    size_t DrawsUsed() const { return next_; }
    int Reseeds() const { return reseeds_; }

private:
    std::vector<float> draws_;
    size_t next_ = 0;
    int reseeds_ = 0;
};

}  // namespace kpv::testing
