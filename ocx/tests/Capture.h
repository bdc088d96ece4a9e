#pragma once
// A window's client area as it is on the screen, written as a 24-bit BMP (the demo's and the
// page suite's screenshots; the caption is the window manager's, absent under Xvfb).
#include <cstdio>
#include <vector>

#include "ocx/Com.h"

namespace delvorin::ocx::test {

inline bool SaveBitmap(HWND window, const wchar_t* path) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{sizeof(bi), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD rowBytes = static_cast<DWORD>((w * 3 + 3) & ~3);
  std::vector<BYTE> pixels(rowBytes * static_cast<DWORD>(h));
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER bf{0x4D42, static_cast<DWORD>(sizeof(bf) + sizeof(bi) + pixels.size()), 0, 0,
                      static_cast<DWORD>(sizeof(bf) + sizeof(bi))};
  FILE* f = _wfopen(path, L"wb");
  if (!f) return false;
  fwrite(&bf, sizeof(bf), 1, f);
  fwrite(&bi, sizeof(bi), 1, f);
  fwrite(pixels.data(), 1, pixels.size(), f);
  fclose(f);
  return true;
}

}  // namespace delvorin::ocx::test
