// The brightness scroll bar's position rules.
#include "settings/brightness_scroll.h"

#include <algorithm>

namespace {

int MovedPosition(int request, WORD thumbArgument, const SCROLLINFO& state, int top) {
  const int position = state.nPos;
  const int page = static_cast<int>(state.nPage);
  switch (request) {
    case SB_LINELEFT: return position != 0 ? position - 1 : position;
    case SB_LINERIGHT: return position < top ? position + 1 : position;
    case SB_PAGELEFT: return position != 0 ? position - page : position;
    case SB_PAGERIGHT: return position < top ? position + page : position;
    case SB_THUMBPOSITION: return static_cast<int16_t>(thumbArgument);
    case SB_LEFT: return state.nMin;
    case SB_RIGHT: return state.nMax;
    default: return position;  // SB_THUMBTRACK, SB_ENDSCROLL
  }
}

}  // namespace

ScrollOutcome ApplyScrollRequest(int request, WORD thumbArgument, const SCROLLINFO& state) {
  // The highest position the thumb can reach: the last page ends at nMax.
  const int top = state.nMax - static_cast<int>(state.nPage) + 1;
  // A step or page from a position near the bottom, or a thumb value out of range, could leave
  // the range; the lower bound is kept as well as the upper one.
  auto clamp = [&](int value) { return std::max(state.nMin, std::min(value, top)); };
  const int position = clamp(MovedPosition(request, thumbArgument, state, top));
  const int shown = request == SB_THUMBTRACK ? state.nTrackPos : position;
  return ScrollOutcome{position, clamp(static_cast<int16_t>(shown))};
}
