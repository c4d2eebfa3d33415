#include "commctrl/ListView.h"

#include <algorithm>

#include "commctrl/Header.h"
#include "commctrl/HeaderText.h"
#include "device/Dump.h"
#include "user/ControlState.h"
#include "user/SystemClasses.h"

namespace commctrl {

namespace {

constexpr UINT kSortStyles = LVS_SORTASCENDING | LVS_SORTDESCENDING;

bool ownerDataStyle(HWND hwnd) { return (user::controlStyle(hwnd) & LVS_OWNERDATA) != 0; }

int compareText(const std::u16string& a, const std::u16string& b) { return _wcsicmp(a.c_str(), b.c_str()); }

}  // namespace

void registerListViewClass() {
  user::registerSystemClass(WC_LISTVIEWW, user::controlProc<ListView>, CS_DBLCLKS, 0, nullptr);
  device::registerDumpItems(WC_LISTVIEWW, [](HWND hwnd, const std::string& indent, std::string& out) {
    if (ListView* list = ListView::of(hwnd)) list->dump(indent, out);
  });
}

ListView::ListView(HWND hwnd)
    : hwnd_(hwnd),
      model_(ownerDataStyle(hwnd)),
      background_(GetSysColor(COLOR_WINDOW)),
      textColor_(GetSysColor(COLOR_WINDOWTEXT)),
      textBackground_(GetSysColor(COLOR_WINDOW)) {}

LRESULT ListView::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  int index = static_cast<int>(wParam);
  switch (msg) {
    case WM_CREATE:
      return create(reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
      destroy();
      return 0;
    case WM_SIZE:
      layout();
      return 0;
    case WM_STYLECHANGED:
      if (static_cast<int>(wParam) == GWL_STYLE) styleChanged();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (header_) SendMessageW(header_, WM_SETFONT, wParam, lParam);
      updateMetrics();
      layout();
      if (LOWORD(lParam)) invalidateAll();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
      redraw_ = wParam != FALSE;
      if (header_) SendMessageW(header_, WM_SETREDRAW, wParam, 0);
      if (redraw_) {
        layout();
        invalidateAll();
      }
      return 0;
    case WM_ENABLE:
      invalidateAll();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint() covers the whole client area
    case WM_PAINT:
      paint();
      return 0;
    case WM_NOTIFY:
      return headerNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_VSCROLL:
      verticalScroll(LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      horizontalScroll(LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      stylusDown(wParam, lParam, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      stylusDown(wParam, lParam, true);
      return 0;
    case WM_LBUTTONUP:
      stylusUp(wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_) pressed_ = false;
      return 0;
    case WM_KEYDOWN:
      keyDown(wParam, lParam);
      return 0;
    case WM_CHAR:
      typeChar(static_cast<WCHAR>(wParam));
      return 0;
    case WM_SETFOCUS:
      focusChanged(true);
      return 0;
    case WM_KILLFOCUS:
      focusChanged(false);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;

    case LVM_GETBKCOLOR:
      return background_;
    case LVM_SETBKCOLOR:
      background_ = static_cast<COLORREF>(lParam);
      invalidateAll();
      return TRUE;
    case LVM_GETTEXTCOLOR:
      return textColor_;
    case LVM_SETTEXTCOLOR:
      textColor_ = static_cast<COLORREF>(lParam);
      invalidateAll();
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return textBackground_;
    case LVM_SETTEXTBKCOLOR:
      textBackground_ = static_cast<COLORREF>(lParam);
      invalidateAll();
      return TRUE;
    case LVM_GETIMAGELIST:
      return wParam < 3 ? reinterpret_cast<LRESULT>(imageLists_[wParam]) : 0;
    case LVM_SETIMAGELIST: {
      if (wParam >= 3) return 0;
      HANDLE previous = imageLists_[wParam];
      imageLists_[wParam] = reinterpret_cast<HANDLE>(lParam);
      invalidateAll();
      return reinterpret_cast<LRESULT>(previous);
    }
    case LVM_GETITEMCOUNT:
      return model_.rowCount();
    case LVM_SETITEMCOUNT:
      return setItemCount(index, static_cast<DWORD>(lParam));
    case LVM_INSERTITEMW:
      return insertItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM:
      return deleteItem(index);
    case LVM_DELETEALLITEMS:
      return deleteAllItems();
    case LVM_GETITEMW:
      return getItem(reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMW:
      return setItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMTEXTW:
      return getItemText(index, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMTEXTW:
      return setItemText(index, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMSTATE:
      return model_.hasRow(index) ? (itemState(index) & static_cast<UINT>(lParam)) : 0;
    case LVM_SETITEMSTATE: {
      auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      return item && setItemState(index, item->state, item->stateMask);
    }
    case LVM_GETCALLBACKMASK:
      return callbackMask_;
    case LVM_SETCALLBACKMASK:
      callbackMask_ = static_cast<UINT>(wParam);
      return TRUE;
    case LVM_GETNEXTITEM:
      return nextItem(index, LOWORD(lParam));
    case LVM_FINDITEMW:
      return findItem(index, reinterpret_cast<const LVFINDINFOW*>(lParam));
    case LVM_GETSELECTEDCOUNT:
      return selection_.count();
    case LVM_GETSELECTIONMARK:
      return anchor_;
    case LVM_SETSELECTIONMARK: {
      int previous = anchor_;
      anchor_ = model_.hasRow(static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
      return previous;
    }
    case LVM_GETITEMRECT:
      return itemRect(index, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT:
      return subItemRect(index, reinterpret_cast<RECT*>(lParam));
    case LVM_HITTEST:
      return hitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST:
      return hitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_ENSUREVISIBLE:
      if (!model_.hasRow(index)) return FALSE;
      ensureVisible(index, lParam != 0);
      return TRUE;
    case LVM_SCROLL: {
      // Pixels both ways; rows move whole. Far beyond the ends is the end.
      auto clampInt = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -0x7FFFFFFF, 0x7FFFFFFF)); };
      scrollToX(clampInt(static_cast<long long>(scrollX_) + static_cast<int>(wParam)));
      scrollTo(clampInt(static_cast<long long>(top_) + static_cast<int>(lParam) / std::max(1, rowHeight_)));
      return TRUE;
    }
    case LVM_REDRAWITEMS:
      invalidateRows(index, static_cast<int>(lParam));
      return TRUE;
    case LVM_UPDATE:
      invalidateRows(index, index);
      return TRUE;
    case LVM_GETTOPINDEX:
      return top_;
    case LVM_GETCOUNTPERPAGE:
      return countPerPage();
    case LVM_GETHEADER:
      return reinterpret_cast<LRESULT>(header_);
    case LVM_INSERTCOLUMNW:
      return insertColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN:
      return deleteColumn(index);
    case LVM_GETCOLUMNW:
      return getColumn(index, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW:
      return setColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNWIDTH:
      return model_.hasColumn(index) ? model_.column(index).width : 0;
    case LVM_SETCOLUMNWIDTH:
      // The width travels in the low 16 bits, signed: LVSCW_* are negative.
      return setColumnWidth(index, static_cast<short>(LOWORD(lParam)));
    case LVM_GETSTRINGWIDTHW: {
      auto* text = reinterpret_cast<const WCHAR*>(lParam);
      return text ? TextMeasure(hwnd_, font_).width(boundedText(text, 0x7FFFFFFF)) : 0;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
      return setExtendedStyle(static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return extended_;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

// ---- life

LRESULT ListView::create(const CREATESTRUCTW* cs) {
  DWORD style = user::controlStyle(hwnd_);
  DWORD headerStyle = WS_CHILD | HDS_HORZ;
  if (!(style & LVS_NOSORTHEADER)) headerStyle |= HDS_BUTTONS;
  if (!(style & LVS_NOCOLUMNHEADER)) headerStyle |= WS_VISIBLE;
  header_ = CreateWindowExW(0, WC_HEADERW, nullptr, headerStyle, 0, 0, 0, 0, hwnd_, nullptr,
                            cs ? cs->hInstance : nullptr, nullptr);
  updateMetrics();
  layout();
  return 0;
}

void ListView::destroy() {
  if (model_.ownerData() || model_.rowCount() == 0) return;
  // The parent frees what its rows' item data stand for.
  NMLISTVIEW all{};
  all.iItem = -1;
  bool each = notify(LVN_DELETEALLITEMS, &all.hdr) == 0;
  for (int row = 0; each && row < model_.rowCount(); ++row)
    notifyItem(LVN_DELETEITEM, row, 0, 0, 0, 0);
  model_.clearItems();
  selection_.clear();
  focus_ = anchor_ = -1;
}

void ListView::styleChanged() {
  DWORD style = user::controlStyle(hwnd_);
  if (header_) {
    LONG headerStyle = GetWindowLongW(header_, GWL_STYLE);
    headerStyle = (style & LVS_NOSORTHEADER) ? (headerStyle & ~HDS_BUTTONS) : (headerStyle | HDS_BUTTONS);
    SetWindowLongW(header_, GWL_STYLE, headerStyle);
    ShowWindow(header_, (style & LVS_NOCOLUMNHEADER) ? SW_HIDE : SW_SHOWNA);
  }
  if ((style & LVS_SINGLESEL) && selection_.count() > 1) selectOnly(focus_ >= 0 && selection_.contains(focus_) ? focus_ : selection_.next(-1));
  layout();
  invalidateAll();
}

DWORD ListView::setExtendedStyle(DWORD mask, DWORD style) {
  DWORD previous = extended_;
  if (mask == 0) mask = 0xFFFFFFFF;
  extended_ = (extended_ & ~mask) | (style & mask);
  if (extended_ != previous) invalidateAll();
  return previous;
}

// ---- columns

int ListView::insertColumn(int index, const LVCOLUMNW* fields) {
  if (!fields || index < 0) return -1;
  ListColumn column;
  if (fields->mask & LVCF_FMT) column.format = fields->fmt;
  if (fields->mask & LVCF_TEXT) column.text = boundedText(fields->pszText, 0x7FFFFFFF);
  if (fields->mask & LVCF_SUBITEM) column.subItem = std::max(0, fields->iSubItem);
  if (fields->mask & LVCF_IMAGE) column.image = fields->iImage;
  if (fields->mask & LVCF_WIDTH) {
    column.width = std::max(0, fields->cx);
  } else {
    // Without a width the heading's text still shows.
    column.width = TextMeasure(hwnd_, font_).width(column.text) + 2 * kTextMargin + 2;
  }
  index = model_.insertColumn(index, std::move(column), (fields->mask & LVCF_SUBITEM) != 0);
  for (int i = 0; i < model_.columnCount(); ++i) model_.column(i).order = i;
  syncHeaderItem(index, true);
  updateScrollBars();
  invalidateAll();
  return index;
}

bool ListView::deleteColumn(int index) {
  if (!model_.deleteColumn(index)) return false;
  for (int i = 0; i < model_.columnCount(); ++i) model_.column(i).order = i;
  if (header_) {
    syncingHeader_ = true;
    SendMessageW(header_, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
    syncingHeader_ = false;
  }
  scrollToX(scrollX_);
  updateScrollBars();
  invalidateAll();
  return true;
}

bool ListView::getColumn(int index, LVCOLUMNW* out) const {
  if (!out || !model_.hasColumn(index)) return false;
  const ListColumn& column = model_.column(index);
  if (out->mask & LVCF_FMT) out->fmt = column.format;
  if (out->mask & LVCF_WIDTH) out->cx = column.width;
  if (out->mask & LVCF_TEXT) copyToBuffer(column.text, out->pszText, out->cchTextMax);
  if (out->mask & LVCF_SUBITEM) out->iSubItem = column.subItem;
  if (out->mask & LVCF_IMAGE) out->iImage = column.image;
  if (out->mask & LVCF_ORDER) out->iOrder = column.order;
  return true;
}

bool ListView::setColumn(int index, const LVCOLUMNW* fields) {
  if (!fields || !model_.hasColumn(index)) return false;
  ListColumn& column = model_.column(index);
  if (fields->mask & LVCF_FMT) column.format = fields->fmt;
  if (fields->mask & LVCF_WIDTH) column.width = std::max(0, fields->cx);
  if (fields->mask & LVCF_TEXT) column.text = boundedText(fields->pszText, 0x7FFFFFFF);
  if (fields->mask & LVCF_SUBITEM) column.subItem = std::max(0, fields->iSubItem);
  if (fields->mask & LVCF_IMAGE) column.image = fields->iImage;
  syncHeaderItem(index, false);
  updateScrollBars();
  invalidateAll();
  return true;
}

bool ListView::setColumnWidth(int index, int width) {
  if (!model_.hasColumn(index)) return false;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER)
    width = autoWidth(index, width == LVSCW_AUTOSIZE_USEHEADER);
  else if (width < 0)
    return false;
  model_.column(index).width = width;
  syncHeaderItem(index, false);
  scrollToX(scrollX_);
  updateScrollBars();
  invalidateAll();
  return true;
}

int ListView::autoWidth(int index, bool useHeader) {
  const ListColumn column = model_.column(index);
  int widest = 0;
  // An owner-data list measures the rows it shows; a normal list all rows.
  int first = model_.ownerData() ? top_ : 0;
  int end = model_.ownerData() ? visibleEnd() : model_.rowCount();
  if (model_.ownerData() && first < end) cacheHint(first, end - 1);
  std::vector<std::u16string> texts;
  for (int row = first; row < end && row < model_.rowCount(); ++row) texts.push_back(cellText(row, column.subItem));
  TextMeasure measure(hwnd_, font_);
  for (const std::u16string& text : texts) widest = std::max(widest, measure.width(text));
  int width = widest + 2 * kTextMargin + 2;
  if (useHeader) {
    width = std::max(width, measure.width(column.text) + 2 * kTextMargin + 2);
    // The last column takes what is left of the list's width.
    if (index == model_.columnCount() - 1) {
      int others = model_.columnLeft(index);
      width = std::max(width, rowsAreaWidth() - others);
    }
  }
  return width;
}

void ListView::syncHeaderItem(int index, bool inserted) {
  if (!header_ || !model_.hasColumn(index)) return;
  const ListColumn& column = model_.column(index);
  HDITEMW item{};
  item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
  item.cxy = column.width;
  item.pszText = const_cast<WCHAR*>(column.text.c_str());
  item.fmt = (column.format & LVCFMT_JUSTIFYMASK) | HDF_STRING;
  syncingHeader_ = true;
  SendMessageW(header_, inserted ? HDM_INSERTITEMW : HDM_SETITEMW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
  syncingHeader_ = false;
}

LRESULT ListView::headerNotify(NMHDR* nm) {
  if (!nm || !header_ || nm->hwndFrom != header_) return 0;
  if (syncingHeader_) return 0;
  auto* info = reinterpret_cast<NMHEADERW*>(nm);
  switch (nm->code) {
    case HDN_ITEMCHANGEDW:
      if (model_.hasColumn(info->iItem) && info->pitem && (info->pitem->mask & HDI_WIDTH)) {
        model_.column(info->iItem).width = std::max(0, info->pitem->cxy);
        scrollToX(scrollX_);
        updateScrollBars();
        invalidateAll();
      }
      break;
    case HDN_ITEMCLICKW:
      if (!(user::controlStyle(hwnd_) & LVS_NOSORTHEADER) && model_.hasColumn(info->iItem)) {
        int sub = model_.column(info->iItem).subItem;
        notifyItem(LVN_COLUMNCLICK, -1, sub, 0, 0, 0);
        return 0;
      }
      break;
    case HDN_DIVIDERDBLCLICKW:
      if (model_.hasColumn(info->iItem)) setColumnWidth(info->iItem, LVSCW_AUTOSIZE);
      break;
    default:
      break;
  }
  // The parent hears of its list's header too; its answer (to refuse a
  // drag, say) is the header's.
  HWND parent = GetParent(hwnd_);
  if (!parent || !IsWindow(nm->hwndFrom)) return 0;
  return SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(nm->idFrom), reinterpret_cast<LPARAM>(nm));
}

// ---- items

int ListView::insertItem(const LVITEMW* fields) {
  if (!fields || fields->iItem < 0 || fields->iSubItem != 0) return -1;
  int row = std::min(fields->iItem, model_.rowCount());
  if (model_.ownerData()) {
    if (model_.rowCount() == 0x7FFFFFFF) return -1;
    model_.setOwnerCount(model_.rowCount() + 1);
  } else {
    ListItem item;
    if (fields->mask & LVIF_TEXT) {
      item.cells.resize(1);
      item.cells[0].callback = fields->pszText == LPSTR_TEXTCALLBACKW;
      if (!item.cells[0].callback) item.cells[0].text = boundedText(fields->pszText, 0x7FFFFFFF);
    }
    if (fields->mask & LVIF_PARAM) item.param = fields->lParam;
    if (fields->mask & LVIF_IMAGE) item.image = fields->iImage;
    if (fields->mask & LVIF_INDENT) item.indent = fields->iIndent;
    if (fields->mask & LVIF_STATE)
      item.state = fields->state & fields->stateMask & ~static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED);
    DWORD sort = user::controlStyle(hwnd_) & kSortStyles;
    if (sort && !item.cells.empty() && !item.cells[0].callback) {
      // A sorted list puts the row where its text belongs.
      row = 0;
      while (row < model_.rowCount()) {
        const ListCell* other = model_.cell(row, 0);
        std::u16string otherText = other ? other->text : std::u16string();
        int order = compareText(item.cells[0].text, otherText);
        if ((sort & LVS_SORTASCENDING) ? order < 0 : order > 0) break;
        ++row;
      }
    }
    row = model_.insertItem(row, std::move(item));
  }
  rowsInserted(row, 1);
  notifyItem(LVN_INSERTITEM, row, 0, 0, 0, 0);
  if ((fields->mask & LVIF_STATE) && (fields->stateMask & (LVIS_SELECTED | LVIS_FOCUSED)) && model_.hasRow(row))
    setItemState(row, fields->state, fields->stateMask & (LVIS_SELECTED | LVIS_FOCUSED));
  return row;
}

bool ListView::deleteItem(int row) {
  if (!model_.hasRow(row)) return false;
  notifyItem(LVN_DELETEITEM, row, 0, 0, 0, 0);
  if (!model_.hasRow(row)) return true;
  if (model_.ownerData())
    model_.setOwnerCount(model_.rowCount() - 1);
  else
    model_.deleteItem(row);
  rowsDeleted(row, 1);
  return true;
}

bool ListView::deleteAllItems() {
  if (model_.rowCount() > 0) {
    NMLISTVIEW all{};
    all.iItem = -1;
    bool each = notify(LVN_DELETEALLITEMS, &all.hdr) == 0 && !model_.ownerData();
    for (int row = 0; each && row < model_.rowCount(); ++row) notifyItem(LVN_DELETEITEM, row, 0, 0, 0, 0);
  }
  model_.clearItems();
  model_.setOwnerCount(0);
  selection_.clear();
  focus_ = anchor_ = -1;
  top_ = 0;
  updateScrollBars();
  invalidateAll();
  return true;
}

bool ListView::setItemCount(int count, DWORD flags) {
  if (!model_.ownerData()) return TRUE;  // a normal list only reserves room: nothing to do
  count = std::max(0, count);
  model_.setOwnerCount(count);
  selection_.truncate(count);
  if (focus_ >= count) focus_ = -1;
  if (anchor_ >= count) anchor_ = -1;
  if (!(flags & LVSICF_NOSCROLL) || top_ > maxTop()) top_ = std::min(top_, maxTop());
  updateScrollBars();
  if (!(flags & LVSICF_NOINVALIDATEALL) || count == 0) invalidateAll();
  return true;
}

bool ListView::getItem(LVITEMW* item) {
  if (!item || !model_.hasRow(item->iItem) || item->iSubItem < 0) return false;
  int row = item->iItem;
  if (item->mask & LVIF_STATE) item->state = itemState(row) & item->stateMask;
  if (model_.ownerData()) {
    UINT asked = item->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
    if (!asked) return true;
    if (asked & LVIF_TEXT) {
      std::vector<WCHAR> buffer(static_cast<size_t>(std::max(kTextCapacity, std::min(item->cchTextMax, 0x8000))));
      // The parent writes into our own buffer; the caller's gets it cut to fit.
      std::u16string text = askText(row, item->iSubItem, buffer.data(), static_cast<int>(buffer.size()));
      copyToBuffer(text, item->pszText, item->cchTextMax);
      asked &= ~static_cast<UINT>(LVIF_TEXT);
    }
    if (asked) {
      NMLVDISPINFOW info{};
      info.item.mask = asked;
      info.item.iItem = row;
      info.item.iSubItem = item->iSubItem;
      notify(LVN_GETDISPINFOW, &info.hdr);
      if (asked & LVIF_IMAGE) item->iImage = info.item.iImage;
      if (asked & LVIF_PARAM) item->lParam = info.item.lParam;
      if (asked & LVIF_INDENT) item->iIndent = info.item.iIndent;
    }
    return true;
  }
  if (item->mask & LVIF_TEXT) copyToBuffer(cellText(row, item->iSubItem), item->pszText, item->cchTextMax);
  if (!model_.hasRow(row)) return false;
  const ListItem& stored = model_.item(row);
  if (item->iSubItem == 0) {
    if (item->mask & LVIF_PARAM) item->lParam = stored.param;
    if (item->mask & LVIF_IMAGE) item->iImage = stored.image;
    if (item->mask & LVIF_INDENT) item->iIndent = stored.indent;
  }
  return true;
}

bool ListView::setItem(const LVITEMW* item) {
  if (!item || !model_.hasRow(item->iItem) || item->iSubItem < 0) return false;
  int row = item->iItem;
  if (model_.ownerData()) {
    // The parent keeps everything but the states.
    if (item->mask & ~static_cast<UINT>(LVIF_STATE)) return false;
    return setItemState(row, item->state, item->stateMask);
  }
  UINT fields = item->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
  if (item->iSubItem > 0) {
    if (fields & ~static_cast<UINT>(LVIF_TEXT)) return false;
    if (fields & LVIF_TEXT) model_.setCellText(row, item->iSubItem, item->pszText ? item->pszText : u"");
    invalidateRows(row, row);
  } else if (fields) {
    if (notifyItem(LVN_ITEMCHANGING, row, 0, 0, 0, fields)) return false;
    if (!model_.hasRow(row)) return false;
    ListItem& stored = model_.item(row);
    if (fields & LVIF_TEXT) model_.setCellText(row, 0, item->pszText ? item->pszText : u"");
    if (fields & LVIF_IMAGE) stored.image = item->iImage;
    if (fields & LVIF_PARAM) stored.param = item->lParam;
    if (fields & LVIF_INDENT) stored.indent = item->iIndent;
    invalidateRows(row, row);
    notifyItem(LVN_ITEMCHANGED, row, 0, 0, 0, fields);
  }
  if ((item->mask & LVIF_STATE) && model_.hasRow(row)) setItemState(row, item->state, item->stateMask);
  return true;
}

int ListView::getItemText(int row, LVITEMW* item) {
  if (!item || !model_.hasRow(row) || !item->pszText || item->cchTextMax <= 0) return 0;
  LVITEMW asked = *item;
  asked.iItem = row;
  asked.mask = LVIF_TEXT;
  if (!getItem(&asked)) return 0;
  return static_cast<int>(boundedText(item->pszText, static_cast<size_t>(item->cchTextMax)).size());
}

bool ListView::setItemText(int row, const LVITEMW* item) {
  if (!item) return false;
  LVITEMW change{};
  change.mask = LVIF_TEXT;
  change.iItem = row;
  change.iSubItem = item->iSubItem;
  change.pszText = item->pszText;
  return setItem(&change);
}

int ListView::findItem(int start, const LVFINDINFOW* find) {
  if (!find) return -1;
  int count = model_.rowCount();
  if (count == 0) return -1;
  int from = start < 0 ? 0 : (start >= count ? count : start + 1);
  if (model_.ownerData()) {
    NMLVFINDITEMW info{};
    info.iStart = from;
    info.lvfi = *find;
    LRESULT found = notify(LVN_ODFINDITEMW, &info.hdr);
    return model_.hasRow(static_cast<int>(found)) ? static_cast<int>(found) : -1;
  }
  if (from >= count) {
    if (!(find->flags & LVFI_WRAP)) return -1;
    from = 0;
  }
  std::u16string wanted = (find->flags & (LVFI_STRING | LVFI_PARTIAL)) ? boundedText(find->psz, 0x7FFFFFFF) : u"";
  int tried = (find->flags & LVFI_WRAP) ? count : count - from;
  for (int i = 0; i < tried && i < model_.rowCount(); ++i) {
    int row = (from + i) % count;
    if (row >= model_.rowCount()) continue;
    if (find->flags & LVFI_PARAM) {
      if (model_.item(row).param == find->lParam) return row;
      continue;
    }
    if (!(find->flags & (LVFI_STRING | LVFI_PARTIAL))) continue;
    std::u16string text = cellText(row, 0);
    bool partial = (find->flags & LVFI_PARTIAL) != 0;
    if (partial ? (text.size() >= wanted.size() && _wcsnicmp(text.c_str(), wanted.c_str(), wanted.size()) == 0)
                : _wcsicmp(text.c_str(), wanted.c_str()) == 0)
      return row;
  }
  return -1;
}

int ListView::nextItem(int start, UINT flags) {
  int count = model_.rowCount();
  if (start >= count - 1 && !(flags & LVNI_ABOVE)) return -1;  // nothing after it (and no overflow past it)
  if (flags & (LVNI_TOLEFT | LVNI_TORIGHT)) return -1;  // a report has one row of items per line
  UINT wanted = flags & (LVNI_SELECTED | LVNI_FOCUSED | LVNI_CUT | LVNI_DROPHILITED);
  bool up = (flags & LVNI_ABOVE) != 0;
  auto matches = [&](int row) { return (itemState(row) & wanted) == wanted; };
  if (up) {
    for (int row = std::min(start, count) - 1; row >= 0; --row)
      if (matches(row)) return row;
    return -1;
  }
  if (wanted == LVNI_SELECTED) {
    int row = selection_.next(start);
    return row < count ? row : -1;
  }
  if (wanted & LVNI_FOCUSED) return focus_ > start && focus_ < count && matches(focus_) ? focus_ : -1;
  if (wanted == 0) return start + 1 < count ? std::max(0, start + 1) : -1;
  if (model_.ownerData()) return -1;  // an owner-data list keeps no other states
  for (int row = std::max(0, start + 1); row < count; ++row)
    if (matches(row)) return row;
  return -1;
}

}  // namespace commctrl
