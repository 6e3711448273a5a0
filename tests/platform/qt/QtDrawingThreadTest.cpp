// Drawing jobs run on a thread of Qt's pool while the caller waits, hand calls back to the
// caller's thread, pass exceptions on, and run at once where a pool thread would not help.
#include "platform/qt/QtDrawingThread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <stdexcept>
#include <vector>

#include "platform/qt/QtViewWidget.h"

namespace platform {
namespace {

bool OnPoolThread() { return QThreadPool::globalInstance()->contains(QThread::currentThread()); }

TEST(QtDrawingThread, JobsRunOnAPoolThreadAndCallBackOnTheCallersThread) {
  QThread* const caller = QThread::currentThread();
  QThread* jobThread = nullptr;
  QThread* callThread = nullptr;
  QThread* nestedThread = nullptr;
  bool jobOnPool = false;
  RunOnDrawingThread([&] {
    jobThread = QThread::currentThread();
    jobOnPool = OnPoolThread();
    OnCallerThread([&] { callThread = QThread::currentThread(); });
    RunOnDrawingThread([&] { nestedThread = QThread::currentThread(); });  // already there: at once
  });
  EXPECT_NE(jobThread, caller);
  EXPECT_TRUE(jobOnPool);  // so Qt fills on that thread without splitting the work
  EXPECT_EQ(callThread, caller);
  EXPECT_EQ(nestedThread, jobThread);
  // Outside a job a call to the caller's thread is just a call.
  QThread* direct = nullptr;
  OnCallerThread([&] { direct = QThread::currentThread(); });
  EXPECT_EQ(direct, caller);
}

TEST(QtDrawingThread, ExceptionsReachTheWaitingSide) {
  EXPECT_THROW(RunOnDrawingThread([] { throw std::runtime_error("job"); }), std::runtime_error);
  bool caught = false;
  RunOnDrawingThread([&] {
    try {
      OnCallerThread([] { throw std::logic_error("call"); });
    } catch (const std::logic_error&) {
      caught = true;
    }
  });
  EXPECT_TRUE(caught);
}

TEST(QtDrawingThread, ABusyPoolRunsTheJobAtOnce) {
  QThreadPool& pool = *QThreadPool::globalInstance();
  const int threads = pool.maxThreadCount();
  pool.setMaxThreadCount(1);
  QSemaphore started, release;
  pool.start([&] {
    started.release();
    release.acquire();
  });
  started.acquire();
  QThread* jobThread = nullptr;
  RunOnDrawingThread([&] { jobThread = QThread::currentThread(); });
  release.release();
  pool.waitForDone();
  pool.setMaxThreadCount(threads);
  EXPECT_EQ(jobThread, QThread::currentThread());  // rather than waiting behind the busy thread
}

// The map window's services asked for from a drawing job take effect on the window's thread.
TEST(QtDrawingThread, TheWindowServesItsDrawingJobOnItsOwnThread) {
  QtViewWidget widget;
  widget.resize(200, 100);
  std::vector<QThread*> seen;
  QObject::connect(widget.VerticalScrollBar(), &QScrollBar::rangeChanged,
                   [&] { seen.push_back(QThread::currentThread()); });
  QMetaObject::invokeMethod(&widget, [&] { seen.push_back(QThread::currentThread()); }, Qt::QueuedConnection);
  bool eventsDelivered = false;
  widget.RunDrawing([&] {
    widget.SetScrollBar(ScrollBarKind::Vertical, ScrollBarState{true, 0, 1000, 100, 300});
    widget.SetMouseCapture(false);
    widget.Invalidate();
    widget.ProcessPendingEvents();
    eventsDelivered = seen.size() == 2;
  });
  EXPECT_TRUE(eventsDelivered);  // the queued call ran during the job
  EXPECT_EQ(widget.VerticalScrollBar()->maximum(), 900);
  EXPECT_EQ(seen, (std::vector<QThread*>{widget.thread(), widget.thread()}));
  QCoreApplication::processEvents();
}

}  // namespace
}  // namespace platform
