#include "capture/grab/form_logic.h"

#include "formats/icon_layout.h"

namespace capture {

bool valid_icon_size(int32_t n) { return n == 16 || n == 32 || n == 48 || n == 64; }
bool valid_colour_count(int32_t colours) { return colours == 16 || colours == 256; }

int form_bits(const IconForm& form) { return form.colourCount == 256 ? 8 : 4; }

void recompute_form(IconForm& form) {
  const auto n = static_cast<uint32_t>(form.size);
  const int bits = form_bits(form);
  form.halfSize = form.size / 2 - 1;
  // The icon layout's own row rules give N·N/2 + 64 or N·N + 1024 and the
  // padded AND rows (64, 128, 384, 512): the form and the file cannot disagree.
  form.imageBytes = static_cast<int32_t>(4 * fmt::icon::palette_entries(bits) +
                                         n * fmt::icon::xor_row_bytes(n, bits));
  form.maskBytes = static_cast<int32_t>(n * fmt::icon::and_row_bytes(n));
}

IconForm make_form(int32_t size, int32_t colourCount, int32_t orientation) {
  IconForm form;
  form.size = size;
  form.colourCount = colourCount;
  form.orientation = orientation;
  recompute_form(form);
  return form;
}

}  // namespace capture
