#include "records/text_input.h"

namespace nusari {

namespace {

constexpr std::size_t kChunkBytes = 65536;

}  // namespace

void TextInput::fill(std::size_t count) {
    if (file_ == nullptr || data_.size() - pos_ >= count) return;
    buffer_.erase(0, pos_);
    pos_ = 0;
    while (buffer_.size() < count) {
        char chunk[kChunkBytes];
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file_);
        buffer_.append(chunk, got);
        if (got < sizeof chunk) {
            if (std::ferror(file_) != 0) failed_ = true;
            break;
        }
    }
    data_ = buffer_;
}

int TextInput::rawAt(std::size_t offset) {
    fill(offset + 1);
    if (pos_ + offset >= data_.size()) return kEndOfInput;
    return static_cast<unsigned char>(data_[pos_ + offset]);
}

int TextInput::peek() {
    const int c = rawAt(0);
    return c == '\r' && rawAt(1) == '\n' ? '\n' : c;
}

int TextInput::get() {
    const int c = peek();
    if (c == kEndOfInput) return c;
    pos_ += rawAt(0) == '\r' && c == '\n' ? 2 : 1;
    return c;
}

}  // namespace nusari
