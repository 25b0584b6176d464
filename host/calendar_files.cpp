#include "host/calendar_files.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <new>
#include <thread>

namespace {

constexpr uint64_t kLargestFile = 256ull << 20;  // bytes, as the problem says; a million events take less

// The platform's local time zone, as the calendars convert UTC with it.
class PlatformClock : public HostLocalClock {
public:
    int64_t LocalFromUtc(int64_t utcSeconds) const override
    {
        constexpr int64_t kFrom1601 = 11644473600;  // seconds from 1601 to 1970
        constexpr int64_t kTicks = 10000000;        // FILETIME ticks a second
        if (utcSeconds < -kFrom1601 || utcSeconds > 253402300799)  // the platform's years: 1601 to 9999
            return utcSeconds;
        const uint64_t ticks = static_cast<uint64_t>(utcSeconds + kFrom1601) * kTicks;
        const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        SYSTEMTIME universal{};
        SYSTEMTIME local{};
        FILETIME out{};
        if (!FileTimeToSystemTime(&utc, &universal) ||
            !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) || !SystemTimeToFileTime(&local, &out))
            return utcSeconds;
        const uint64_t back = uint64_t{out.dwHighDateTime} << 32 | out.dwLowDateTime;
        return static_cast<int64_t>(back / kTicks) - kFrom1601;
    }
};

// What the file system says of a file: a change of either is a change of the file.
struct Stamp {
    bool exists = false;
    FILETIME written{};
    uint64_t size = 0;
    bool operator==(const Stamp& o) const
    {
        return exists == o.exists && CompareFileTime(&written, &o.written) == 0 && size == o.size;
    }
};

Stamp StampOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    Stamp s;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        s.exists = true;
        s.written = data.ftLastWriteTime;
        s.size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    }
    return s;
}

std::string ErrorText(DWORD error)
{
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return "not found";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "locked by another program";
        case ERROR_ACCESS_DENIED:
            return "cannot be read: access is denied";
        default: {
            std::string text = "cannot be read (error ";
            text += std::to_string(error);
            text += ')';
            return text;
        }
    }
}

// A whole file's bytes, or what stopped them.
bool ReadBytes(const std::wstring& path, std::string* bytes, std::string* problem)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *problem = ErrorText(GetLastError());
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) != 0;
    if (!ok) {
        *problem = ErrorText(GetLastError());
    } else if (static_cast<uint64_t>(size.QuadPart) > kLargestFile) {
        *problem = "larger than 256 MB, so it is not read";
        ok = false;
    } else {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (ok && done < bytes->size()) {
            DWORD got = 0;
            ok = ReadFile(file, bytes->data() + done, static_cast<DWORD>(bytes->size() - done), &got, nullptr) != 0;
            if (!ok)
                *problem = ErrorText(GetLastError());
            else if (got == 0)
                break;  // shorter than it was a moment ago: what is there is read
            done += got;
        }
        bytes->resize(done);
    }
    CloseHandle(file);
    return ok;
}

struct Job {
    std::wstring path;
    uint64_t generation = 0;
};

struct Result {
    std::wstring path;
    uint64_t generation = 0;
    std::unique_ptr<HostEventCalendar> calendar;  // null: the file could not be read
    std::string problem;
};

struct Entry {
    std::wstring path;
    bool kept = false;
    Stamp seen;          // as the last read was asked for
    bool retry = false;  // the last read could not open the file: try at every look
    bool queued = false;
    uint64_t generation = 0;
    std::unique_ptr<HostEventCalendar> calendar;
    std::string problem = "not read yet";
};

}  // namespace

struct HostCalendarFiles::State {
    PlatformClock clock;  // first: the calendars keep its address
    HWND notify = nullptr;
    std::vector<Entry> entries;
    std::vector<std::wstring> kept;
    std::map<int32_t, uint32_t> marks;  // months asked since the calendars last changed
    bool missed = false;                // a question was not answered: ask again
    uint64_t nextGeneration = 1;

    // libical's objects are touched by one thread at a time: the reader's
    // thread while it reads, this one (without waiting) otherwise.
    std::mutex reader;

    std::mutex queue;  // guards what follows
    std::condition_variable wake;
    std::deque<Job> jobs;
    std::vector<Result> results;
    std::vector<std::unique_ptr<HostEventCalendar>> disposals;
    bool stop = false;
    std::thread thread;

    void Run();
    Result Read(const Job& job);
    void Dispose(std::unique_ptr<HostEventCalendar> calendar);
    void Queue(Entry* entry, const Stamp& stamp);
};

Result HostCalendarFiles::State::Read(const Job& job)
{
    Result r;
    r.path = job.path;
    r.generation = job.generation;
    std::string bytes;
    if (!ReadBytes(job.path, &bytes, &r.problem))
        return r;
    try {
        auto calendar = std::make_unique<HostEventCalendar>(clock);
        std::lock_guard<std::mutex> hold(reader);
        r.problem = calendar->Read(bytes).problem;
        r.calendar = std::move(calendar);
    } catch (const std::bad_alloc&) {
        r.problem = "too large to read in the memory there is";
    }
    return r;
}

void HostCalendarFiles::State::Run()
{
    for (;;) {
        std::unique_lock<std::mutex> lock(queue);
        wake.wait(lock, [this] { return stop || !jobs.empty() || !disposals.empty(); });
        if (stop)
            return;
        if (!disposals.empty()) {
            std::vector<std::unique_ptr<HostEventCalendar>> gone = std::move(disposals);
            disposals.clear();
            lock.unlock();
            std::lock_guard<std::mutex> hold(reader);
            gone.clear();
            continue;
        }
        const Job job = jobs.front();
        jobs.pop_front();
        lock.unlock();
        Result result = Read(job);
        lock.lock();
        results.push_back(std::move(result));
        lock.unlock();
        PostMessageW(notify, HOSTN_CALENDARSREAD, 0, 0);
    }
}

void HostCalendarFiles::State::Dispose(std::unique_ptr<HostEventCalendar> calendar)
{
    if (calendar == nullptr)
        return;
    if (reader.try_lock()) {
        calendar.reset();
        reader.unlock();
        return;
    }
    std::lock_guard<std::mutex> lock(queue);
    disposals.push_back(std::move(calendar));
    wake.notify_one();
}

void HostCalendarFiles::State::Queue(Entry* entry, const Stamp& stamp)
{
    entry->seen = stamp;
    entry->generation = nextGeneration++;
    entry->queued = true;
    std::lock_guard<std::mutex> lock(queue);
    jobs.push_back({entry->path, entry->generation});
    wake.notify_one();
}

HostCalendarFiles::HostCalendarFiles(HWND notify) : state_(std::make_unique<State>())
{
    state_->notify = notify;
    state_->thread = std::thread([s = state_.get()] { s->Run(); });
}

HostCalendarFiles::~HostCalendarFiles()
{
    {
        std::lock_guard<std::mutex> lock(state_->queue);
        state_->stop = true;
        state_->wake.notify_one();
    }
    state_->thread.join();
}

void HostCalendarFiles::SetFiles(const std::vector<std::wstring>& kept, const std::vector<std::wstring>& named)
{
    State& s = *state_;
    std::vector<Entry> entries;
    auto add = [&](const std::wstring& path, bool isKept) {
        auto same = [&](const Entry& e) { return HostSamePath(e.path, path); };
        if (auto known = std::find_if(entries.begin(), entries.end(), same); known != entries.end()) {
            known->kept = known->kept || isKept;
            return;
        }
        auto old = std::find_if(s.entries.begin(), s.entries.end(), same);
        if (old != s.entries.end()) {
            entries.push_back(std::move(*old));
            s.entries.erase(old);
        } else {
            entries.push_back(Entry{});
            entries.back().path = path;
            s.Queue(&entries.back(), StampOf(path));
        }
        entries.back().kept = isKept;
    };
    for (const std::wstring& path : kept)
        add(path, true);
    for (const std::wstring& path : named)
        add(path, false);
    for (Entry& gone : s.entries)
        s.Dispose(std::move(gone.calendar));
    s.entries = std::move(entries);
    s.kept.clear();
    for (const Entry& e : s.entries)
        if (e.kept)
            s.kept.push_back(e.path);
    s.marks.clear();
    s.missed = true;
}

const std::vector<std::wstring>& HostCalendarFiles::Kept() const
{
    return state_->kept;
}

bool HostCalendarFiles::Empty() const
{
    return state_->entries.empty();
}

bool HostCalendarFiles::Reading() const
{
    return std::any_of(state_->entries.begin(), state_->entries.end(), [](const Entry& e) { return e.queued; });
}

void HostCalendarFiles::Poll()
{
    for (Entry& e : state_->entries) {
        if (e.queued)
            continue;
        const Stamp now = StampOf(e.path);
        if (e.retry || !(now == e.seen))
            state_->Queue(&e, now);
    }
}

HostCalendarUpdate HostCalendarFiles::TakeFinished()
{
    State& s = *state_;
    std::vector<Result> results;
    {
        std::lock_guard<std::mutex> lock(s.queue);
        results.swap(s.results);
    }
    HostCalendarUpdate update;
    update.refresh = s.missed;
    s.missed = false;
    for (Result& r : results) {
        auto entry = std::find_if(s.entries.begin(), s.entries.end(),
            [&](const Entry& e) { return e.generation == r.generation && HostSamePath(e.path, r.path); });
        if (entry == s.entries.end()) {  // a file dropped, or asked again, meanwhile
            s.Dispose(std::move(r.calendar));
            continue;
        }
        entry->queued = false;
        entry->retry = r.calendar == nullptr && StampOf(entry->path).exists;
        const bool changed = r.calendar != nullptr || r.problem != entry->problem;
        if (r.calendar != nullptr) {
            s.Dispose(std::move(entry->calendar));
            entry->calendar = std::move(r.calendar);
            update.refresh = true;
        }
        entry->problem = r.problem;
        if (changed)
            update.news.push_back(
                {entry->path, entry->calendar != nullptr ? entry->calendar->EventCount() : 0, entry->problem});
    }
    if (update.refresh)
        s.marks.clear();
    return update;
}

bool HostCalendarFiles::MonthMarks(int32_t year, int32_t month, uint32_t* days)
{
    State& s = *state_;
    const int32_t key = year * 12 + month - 1;
    if (auto known = s.marks.find(key); known != s.marks.end()) {
        *days = known->second;
        return true;
    }
    std::unique_lock<std::mutex> hold(s.reader, std::try_to_lock);
    if (!hold.owns_lock()) {
        s.missed = true;
        return false;
    }
    uint32_t all = 0;
    for (Entry& e : s.entries)
        if (e.calendar != nullptr)
            all |= e.calendar->MonthMarks(year, month);
    s.marks[key] = all;
    *days = all;
    return true;
}

bool HostCalendarFiles::DayEvents(int32_t year, int32_t month, int32_t day, std::vector<HostDayEvent>* events)
{
    State& s = *state_;
    std::unique_lock<std::mutex> hold(s.reader, std::try_to_lock);
    if (!hold.owns_lock()) {
        s.missed = true;
        return false;
    }
    events->clear();
    for (Entry& e : s.entries) {
        if (e.calendar == nullptr)
            continue;
        std::vector<HostDayEvent> more = e.calendar->DayEvents(year, month, day);
        events->insert(events->end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    // Each file's are in order; several files' are merged: all-day first, then by time.
    std::stable_sort(events->begin(), events->end(), [](const HostDayEvent& a, const HostDayEvent& b) {
        return a.startMinute != b.startMinute ? a.startMinute < b.startMinute : a.summary < b.summary;
    });
    return true;
}

namespace {

std::wstring WideFrom(UINT codePage, const std::string& text)
{
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace

bool HostSamePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
               TRUE) == CSTR_EQUAL;
}

std::wstring HostWideFromAnsi(const std::string& text)
{
    return WideFrom(CP_ACP, text);
}

std::wstring HostWideFromUtf8(const std::string& text)
{
    return WideFrom(CP_UTF8, text);
}

std::string HostUtf8FromWide(const std::wstring& text)
{
    const int n = WideCharToMultiByte(
        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}
