// The image base: cel geometry; its drawing primitives draw nothing, having no pixels.
#include "framework/graphics/Image.h"

namespace Vel {

Rect Image::GetCelRect(int cel) const
{
    if (m_numRows < 1 || m_numCols < 1 || cel < 0) return Rect();
    const int row = cel / m_numCols;
    const int col = cel % m_numCols;
    if (row >= m_numRows) return Rect();
    return Rect(col * GetCelWidth(), row * GetCelHeight(), GetCelWidth(), GetCelHeight());
}

bool Image::SetCelGrid(int rows, int cols)
{
    if (rows < 1 || cols < 1) return false;
    m_numRows = rows;
    m_numCols = cols;
    return true;
}

void Image::FillRect(const Rect&, const Color&, int) {}
void Image::DrawRect(const Rect&, const Color&, int) {}
void Image::ClearRect(const Rect&) {}
void Image::DrawLine(double, double, double, double, const Color&, int, const Rect&) {}
void Image::Blt(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BltMirror(Image*, int, int, const Rect&, const Color&, int) {}
void Image::StretchBlt(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}
void Image::BltRotated(Image*, double, double, const Rect&, const Rect&, const Color&, int, double, double, double) {}

} // namespace Vel
