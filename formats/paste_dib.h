// What paste takes from the clipboard. A CF_DIB goes through the file
// reader's normaliser (every header it knows, bitfields, RLE, top-down,
// short tables); the CF_BITMAP the system makes from a CF_DIB is built from
// the same block without any check, so it is used only where that cannot
// show memory outside the block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/dib_normalise.h"

namespace fmt::bmp {

NormalisePlan plan_paste(const uint8_t* dib, size_t size);

// True when everything a packed DIB's header promises lies inside its
// size bytes: the header itself, the masks after a 40-byte header, the
// colour table and the rows (their stride times the height, or the header's
// image size for compressed data). Any header size from 12 up is read with
// the 40-byte layout's fields (the core layout for 12); where two readings
// of the table are possible (GDI reads at most 256 entries), the longer one
// must fit.
bool dib_is_self_consistent(const uint8_t* dib, size_t size);

// Clipboard format numbers, as the system defines them.
constexpr unsigned kCfBitmap = 2;
constexpr unsigned kCfDib = 8;
constexpr unsigned kCfDibV5 = 17;

// The formats as EnumClipboardFormats lists them: the producer's own come
// first, the ones the system makes from them after. A CF_BITMAP listed before
// any DIB format is the producer's own; one listed after may have been made
// from the DIB.
bool producer_offered_bitmap(const std::vector<unsigned>& formats_in_order);

enum class PasteSource {
  Dib,      // the normalised CF_DIB
  Bitmap,   // the CF_BITMAP drawn into a 24-bit DIB
  Refused,  // "Illegal structure size is found in info header." (or the allocation message for TooLarge)
};

// plan: plan_paste of the CF_DIB (error BadInfoSize when there is none).
// The CF_BITMAP stands in for a DIB the normaliser refuses only when the
// producer put it there, or when the DIB is self-consistent but of a kind
// the normaliser does not take (another header size, bit count or
// compression); a DIB that breaks its own bounds is refused.
PasteSource choose_paste_source(bool dib_available, const NormalisePlan& plan, bool dib_self_consistent,
                                bool bitmap_available, bool bitmap_from_producer);

}  // namespace fmt::bmp
