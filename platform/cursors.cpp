#include "platform/cursors.h"

#include <QPixmap>
#include <map>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void InitCursorResources() {
  static bool done = false;
  if (done) return;
  done = true;
  Q_INIT_RESOURCE(cursors);
}

namespace {

std::map<int, QCursor>& Table() {
  static std::map<int, QCursor> table;
  return table;
}

struct TCursorResource {
  const char* Name;
  int HotX, HotY;
};

// Hot spots: the hand grabs with its palm, the magnifiers point with the centre
// of their lens.
constexpr TCursorResource kCursorResources[] = {
    {"CURHAND", 15, 15},
    {"CURZOOMW", 12, 12},
    {"CURZOOMD", 12, 12},
    {"CURZOOMP", 12, 12},
};

QCursor Builtin(int index) {
  switch (index) {
    case crCross:
      return QCursor(Qt::CrossCursor);
    case crIBeam:
      return QCursor(Qt::IBeamCursor);
    case crSizeAll:
      return QCursor(Qt::SizeAllCursor);
    case crHourGlass:
      return QCursor(Qt::WaitCursor);
    default:
      return QCursor(Qt::ArrowCursor);
  }
}

}  // namespace

void SetAppCursor(int index, const QCursor& cursor) {
  Table()[index] = cursor;
}

QCursor AppCursor(int index) {
  const auto it = Table().find(index);
  if (it != Table().end()) return it->second;
  return Builtin(index);
}

QCursor LoadCursorResource(const std::string& name) {
  InitCursorResources();
  for (const TCursorResource& r : kCursorResources) {
    if (name != r.Name) continue;
    QPixmap pm(QString(":/cursors/") + r.Name + ".xpm");
    if (pm.isNull()) break;
    return QCursor(pm, r.HotX, r.HotY);
  }
  return QCursor(Qt::ArrowCursor);
}

void RegisterChartCursors() {
  int index = 1;
  for (const TCursorResource& r : kCursorResources)
    SetAppCursor(index++, LoadCursorResource(r.Name));
}
