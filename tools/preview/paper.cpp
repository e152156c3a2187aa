// SPDX-License-Identifier: Apache-2.0
// The paper and the line strip: rectangles of dots that the printer model inks.
#include <algorithm>

#include "tools/preview/escpos_interpreter.h"

LineStrip::LineStrip(int width, int height)
    : width_(width),
      height_(height),
      dots_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

void LineStrip::Ink(int x, int y) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = 1;
}

void LineStrip::Flip(int x, int y) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    unsigned char& dot = dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(x)];
    dot = dot ? 0 : 1;
}

bool LineStrip::IsInked(int x, int y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return false;
    return dots_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)] != 0;
}

bool LineStrip::IsBlank() const {
    return std::all_of(dots_.begin(), dots_.end(), [](unsigned char d) { return d == 0; });
}

void LineStrip::Clear() {
    std::fill(dots_.begin(), dots_.end(), 0);
}

void LineStrip::ClearRows(int first) {
    if (first < 0) first = 0;
    if (first >= height_) return;
    std::fill(dots_.begin() + static_cast<std::ptrdiff_t>(first) * width_, dots_.end(), 0);
}

Page::Page(int width) : width_(width), row_bytes_((static_cast<std::size_t>(width) + 7) / 8) {}

bool Page::IsInked(int x, int y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return false;
    const std::size_t at =
        static_cast<std::size_t>(y) * row_bytes_ + static_cast<std::size_t>(x) / 8;
    return (bits_[at] & (0x80 >> (x % 8))) != 0;
}

void Page::Extend(int rows) {
    if (rows <= height_) return;
    height_ = rows;
    bits_.resize(static_cast<std::size_t>(rows) * row_bytes_, 0);
}

void Page::Ink(int x, int y) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    bits_[static_cast<std::size_t>(y) * row_bytes_ + static_cast<std::size_t>(x) / 8] |=
        static_cast<unsigned char>(0x80 >> (x % 8));
}
