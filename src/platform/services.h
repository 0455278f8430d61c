#pragma once

#include <QDate>

#include <cstdint>
#include <random>

namespace lexitka {

// Uniform random source of the test engine.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    // Uniform in [0, bound); bound > 0.
    virtual quint32 bounded(quint32 bound) = 0;
};

// The program's source; tests give a fixed seed and never reseed.
class StdRandomSource final : public RandomSource {
public:
    explicit StdRandomSource(std::uint64_t seed = 0, bool reseedFromClock = true)
        : m_engine(seed), m_reseed(reseedFromClock)
    { }
    void seedFromClock() override;
    quint32 bounded(quint32 bound) override { return std::uniform_int_distribution<quint32>(0, bound - 1)(m_engine); }

private:
    std::mt19937_64 m_engine;
    bool m_reseed;
};

// The local date, for the statistics record.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

} // namespace lexitka
