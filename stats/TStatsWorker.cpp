#include "TStatsWorker.h"

#include <QMetaObject>

#include "TQor2.h"

namespace {

bool SameRequest(const TStatsRequest& a, const TStatsRequest& b) {
  return a.groupField == b.groupField && a.numberField == b.numberField && a.from == b.from &&
         a.to == b.to && a.useFilter == b.useFilter && a.filter == b.filter &&
         a.keepValues == b.keepValues;
}

}  // namespace

TStatsWorker::TStatsWorker(const TQor2& table, TDone done)
    : table_(table), done_(std::move(done)) {}

TStatsWorker::~TStatsWorker() {
  for (const auto& run : runs_) run->stop = true;
  for (const auto& run : runs_) run->thread.join();
}

void TStatsWorker::Start(const TStatsJob& job) {
  JoinFinished();
  if (current_) current_->stop = true;
  auto run = std::make_shared<TRun>();
  run->request = job.request;
  std::shared_ptr<const TStatsResult> last =
      last_ && SameRequest(lastRequest_, job.request) ? last_ : nullptr;
  current_ = run;
  runs_.push_back(run);
  run->thread = std::thread([this, job, last, run] {
    TStatsOutput output = Work(table_, job, last, *run);
    run->finished = true;
    if (run->stop) return;
    // Handed on the interface thread; dropped there if a later job started,
    // and by Qt if the worker is gone (the destructor waits for this thread
    // first, so `this` is alive while the call is posted).
    QMetaObject::invokeMethod(
        this, [this, run, output] { Deliver(run, output); }, Qt::QueuedConnection);
  });
}

int TStatsWorker::Percent() const {
  return current_ ? current_->percent.load() : 100;
}

TStatsOutput TStatsWorker::Work(const TQor2& table, const TStatsJob& job,
                                std::shared_ptr<const TStatsResult> last, TRun& run) {
  TStatsOutput out;
  if (last) {
    out.result = std::move(last);
  } else {
    auto result = std::make_shared<TStatsResult>();
    out.status = ComputeStats(table, job.request, *result, [&run](int64_t done, int64_t total) {
      // The counting is most of the work: it takes the bar to 90 %.
      run.percent = total > 0 ? static_cast<int>(done * 90 / total) : 90;
      return !run.stop;
    });
    if (!out.status) return out;
    out.result = std::move(result);
  }
  if (run.stop) return out;
  out.order = std::make_shared<const std::vector<uint32_t>>(
      StatsOrder(*out.result, job.column, job.ascending));
  if (job.histogram) {
    out.bins = job.bins > 0 ? job.bins : SturgesBins(out.result->values.size());
    out.chart = Histogram(out.result->values, out.bins);
  } else {
    out.chart = BarChart(*out.result, *out.order, job.measure);
  }
  run.percent = 100;
  return out;
}

void TStatsWorker::Deliver(const std::shared_ptr<TRun>& run, const TStatsOutput& output) {
  if (run != current_) return;
  current_.reset();
  JoinFinished();
  if (output.status) {
    last_ = output.result;
    lastRequest_ = run->request;
  }
  done_(output);
}

void TStatsWorker::JoinFinished() {
  for (auto it = runs_.begin(); it != runs_.end();) {
    if ((*it)->finished) {
      (*it)->thread.join();
      it = runs_.erase(it);
    } else {
      ++it;
    }
  }
}
