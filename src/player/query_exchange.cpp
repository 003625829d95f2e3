// The reply of a Query step: looked for in everything received since the telegram was written.
#include <algorithm>

#include "player/actions.h"

namespace zs {
namespace {

// Bytes read at most in one go: a device that floods the line is read in pieces, and the
// player tests for Stop between them.
constexpr std::size_t kReadPiece = 64 * 1024;

bool Printable(std::uint8_t byte) { return byte >= 0x20 && byte <= 0x7E; }

}  // namespace

bool QueryExchange::ReplyReceived() {
    if (replied_ || gone_) return replied_;
    std::vector<std::uint8_t> piece;
    if (!port_->readAvailable(piece, kReadPiece)) {
        gone_ = true;  // unplugged: nothing more will come
        return false;
    }
    if (piece.empty()) return false;
    const std::size_t shownRoom = kShownBytes - std::min(kShownBytes, shown_.size());
    shown_.insert(shown_.end(), piece.begin(),
                  piece.begin() + static_cast<long>(std::min(shownRoom, piece.size())));
    // Only the last bytes of what came before can begin a reply that ends in this piece.
    std::vector<std::uint8_t> window = std::move(tail_);
    window.insert(window.end(), piece.begin(), piece.end());
    replied_ = reply_.empty() ||
               std::search(window.begin(), window.end(), reply_.begin(), reply_.end()) !=
                   window.end();
    const std::size_t keep = reply_.empty() ? 0 : std::min(window.size(), reply_.size() - 1);
    tail_.assign(window.end() - static_cast<long>(keep), window.end());
    return replied_;
}

bool QueryExchange::WaitForBytes(std::chrono::milliseconds wait) {
    if (gone_) return false;
    return port_->waitReadable(wait);
}

std::string QueryExchange::Shown() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : shown_) {
        if (Printable(byte)) {
            text += static_cast<char>(byte);
        } else {
            text += '<';
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0xF];
            text += '>';
        }
    }
    return text;
}

}  // namespace zs
