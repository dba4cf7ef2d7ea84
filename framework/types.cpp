#include "framework/types.h"

#include <windowsx.h>

CPoint::CPoint(LPARAM lParam) : POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)} {}
