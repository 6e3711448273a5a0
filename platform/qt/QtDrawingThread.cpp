#include "platform/qt/QtDrawingThread.h"

#include <QThread>
#include <QThreadPool>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>

namespace platform {

namespace {

// What a waiting caller and its drawing job share. Owned by both, so neither outlives it.
struct THandOff {
  std::mutex Mutex;
  std::condition_variable Changed;
  const std::function<void()>* Request = nullptr;  // a call the job wants on the caller's thread
  std::exception_ptr RequestError;
  std::exception_ptr JobError;
  bool Done = false;
};

thread_local THandOff* CurrentJob = nullptr;  // set on a pool thread while it runs a job

}  // namespace

void RunOnDrawingThread(const std::function<void()>& job) {
  QThreadPool* pool = QThreadPool::globalInstance();
  if (CurrentJob != nullptr || pool == nullptr || pool->contains(QThread::currentThread())) {
    job();
    return;
  }
  auto handOff = std::make_shared<THandOff>();
  const bool started = pool->tryStart([handOff, &job] {
    CurrentJob = handOff.get();
    std::exception_ptr error;
    try {
      job();
    } catch (...) {
      error = std::current_exception();
    }
    CurrentJob = nullptr;
    const std::lock_guard lock(handOff->Mutex);
    handOff->JobError = error;
    handOff->Done = true;
    handOff->Changed.notify_all();
  });
  if (!started) {  // every pool thread busy: the job must not wait behind them
    job();
    return;
  }
  std::unique_lock lock(handOff->Mutex);
  for (;;) {
    handOff->Changed.wait(lock, [&] { return handOff->Done || handOff->Request != nullptr; });
    if (handOff->Request == nullptr) break;
    const std::function<void()>& call = *handOff->Request;
    lock.unlock();
    std::exception_ptr error;
    try {
      call();
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    handOff->RequestError = error;
    handOff->Request = nullptr;
    handOff->Changed.notify_all();
  }
  if (handOff->JobError) std::rethrow_exception(handOff->JobError);
}

void OnCallerThread(const std::function<void()>& call) {
  THandOff* handOff = CurrentJob;
  if (handOff == nullptr) {
    call();
    return;
  }
  std::unique_lock lock(handOff->Mutex);
  handOff->Request = &call;
  handOff->Changed.notify_all();
  handOff->Changed.wait(lock, [&] { return handOff->Request == nullptr; });
  if (std::exception_ptr error = std::exchange(handOff->RequestError, nullptr)) std::rethrow_exception(error);
}

}  // namespace platform
