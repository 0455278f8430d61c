#pragma once

namespace lexitka::detail {
extern const char16_t kCp1250[256];
extern const char16_t kCp1251[256];
extern const char16_t kCp1252[256];
} // namespace lexitka::detail
