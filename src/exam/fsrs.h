#pragma once

namespace lexitka::fsrs {

// FSRS-6 with its published default weights and a desired retention of 0.9,
// without learning steps or interval fuzz: a test already asks a missed
// word again. Only the two grades a typed answer gives are used.
enum class Grade { Again = 1, Good = 3 };

// What the scheduler remembers of a card.
struct Memory {
    double stability = 0;  // days until recall falls to 90 %
    double difficulty = 0; // 1 to 10
};

// The probability of recall after elapsedDays at this stability.
double retrievability(double elapsedDays, double stability);
// Days until the next review: the stability rounded, 1 to 36500.
int intervalDays(double stability);

// A card's first review.
Memory firstReview(Grade grade);
// A later one, elapsedDays calendar days after the last (0: the same day).
Memory nextReview(const Memory &memory, int elapsedDays, Grade grade);

} // namespace lexitka::fsrs
