"""varnhold-extract-cli against `7z x` on the same protected executables.

How to read the table (one line per row, i.e. per kind of payload):
  cpu ratio   CPU time (user + system) of varnhold-extract-cli divided by that
              of `7z x` opening the same executable, over PAIRS interleaved
              pairs (odd pairs run the CLI first, even pairs 7z first):
              min / median / max. CPU time is the steadier figure on a machine
              shared with other work; the wall-clock ratio follows it.
  wall ratio  the same for elapsed time.
  cli s, 7z s median CPU seconds of each, to see what a ratio is made of.
  rss MiB     peak resident memory of each (GNU time), highest over the pairs.
  disk MiB    peak extra disk of each: one more run of each tool, not timed,
              while the allocated size of everything it writes (the output
              folder and TMPDIR, where the CLI's work folders go, both in the
              row's own folder) is sampled with `du` every 50 ms; the files
              already in the output before the run are subtracted.
  goal        the CPU-ratio goal of the row and whether the median meets it.
              The disk column passes when the CLI needs at most the payload copy
              and the files being placed (what 7z leaves in the output that was
              not there untouched before), so never a second copy of them.
After the table: what the password test costs, the difference in CLI CPU time
between the same 100 MB with the marker first and with the marker behind the
data in one solid block (7z decodes the same bytes in both).

Inputs are made once into the cache folder, by the 7z command, and reused; a
recipe change gives new file names. Each timed run starts after `sync`, with
the payload in the page cache, so the writing of one run does not slow the
next. Where the script may (as root), it also empties the kernel's caches
before each run and reads the executable back in: ext4 makes a new file
slowly while the inode blocks of files deleted moments ago are still cached
(it steps past each recently freed inode), so without this the run after a
mass delete (the previous run's output) pays for it, whichever tool that is.

Environment: PAIRS (default 5), QUICK=1 (small sizes), ROWS (comma-separated
words; only rows whose names contain one of them).
"""

import os
import shutil
import statistics
import subprocess
import sys
import threading
import time

PASSWORD = "Bench-password"
MARKER = "1e1c8ebb-9299-4834-ab8f-9e5a0c04ba8b.quorvale"
STUB_SIZE = 774144
MIB = 1024 * 1024

QUICK = os.environ.get("QUICK", "") not in ("", "0")
PAIRS = int(os.environ.get("PAIRS", "5"))
ROW_FILTER = [w for w in os.environ.get("ROWS", "").split(",") if w]

WORDS = ("the of and to in is was for on that with as by at from his her an which or be are this had "
         "not but were have one their they all has been more its who when we there other also after "
         "first two new into time can would than about some only most may these over such between "
         "world year years people made state city used during each under many part three where while "
         "both through before well since then same war known because later").split()


def Sizes():
    if QUICK:
        return dict(small_text=5 * MIB, small_random=5 * MIB, big_text=20 * MIB, big_random=20 * MIB,
                    copy=64 * MIB, few_files=1000, many_files=5000)
    return dict(small_text=50 * MIB, small_random=50 * MIB, big_text=500 * MIB, big_random=500 * MIB,
                copy=4096 * MIB, few_files=10000, many_files=100000)


# ---------------------------------------------------------------- inputs

def WriteText(path, size, seed):
    """Prose-like lines of common words: compresses about 3:1 as text does."""
    import random
    rng = random.Random(seed)
    lines = [" ".join(rng.choice(WORDS) for _ in range(12)) for _ in range(4096)]
    with open(path, "w") as f:
        written, i = 0, 0
        while written < size:
            line = "%s %d\n" % (lines[rng.randrange(4096)], i)
            f.write(line)
            written += len(line)
            i += 1
    os.truncate(path, size)


def WriteRandom(path, size):
    with open("/dev/urandom", "rb") as source, open(path, "wb") as target:
        while size > 0:
            block = source.read(min(size, 16 * MIB))
            target.write(block)
            size -= len(block)


def WriteSmallFiles(folder, count, seed, old=False):
    """`count` text files of 0.5 to 4 KiB in folders of 100; with `old`, the
    same paths holding a short other content (the files already there)."""
    import random
    rng = random.Random(seed)
    for i in range(count):
        sub = os.path.join(folder, "d%04d" % (i // 100))
        if i % 100 == 0:
            os.makedirs(sub, exist_ok=True)
        with open(os.path.join(sub, "f%06d.txt" % i), "w") as f:
            if old:
                f.write("an older file %d\n" % i)
            else:
                f.write(" ".join(rng.choice(WORDS) for _ in range(rng.randrange(80, 700))))


def MakeExecutable(exe, src, names, switches):
    """A protected executable: the stub (zeros) followed by a 7z archive of
    `names` (in this order) inside `src`, file contents encrypted."""
    archive = exe + ".7z"
    subprocess.run(["7z", "a", "-t7z", "-bd", "-mhe=off", "-p" + PASSWORD] + switches + [archive] + names,
                   cwd=src, check=True, stdout=subprocess.DEVNULL)
    # The stub's size is a whole number of file-system blocks, so where the
    # file system can insert a range the archive need not be written twice.
    if subprocess.run(["fallocate", "--insert-range", "--offset", "0", "--length", str(STUB_SIZE), archive],
                      stderr=subprocess.DEVNULL).returncode == 0:
        os.rename(archive, exe)
    else:
        with open(exe + ".part", "wb") as target, open(archive, "rb") as source:
            target.truncate(STUB_SIZE)
            target.seek(STUB_SIZE)
            shutil.copyfileobj(source, target, 16 * MIB)
        os.remove(archive)
        os.rename(exe + ".part", exe)


def Marker(src):
    with open(os.path.join(src, MARKER), "wb") as f:
        f.write(os.urandom(4096))


def BuildInput(cache, name, sizes):
    """Makes the executable called `name` once; returns its path."""
    exe = os.path.join(cache, name + ".exe")
    if os.path.exists(exe):
        return exe
    print("making %s once..." % name, flush=True)
    src = os.path.join(cache, name + ".src")
    shutil.rmtree(src, ignore_errors=True)
    os.makedirs(src)
    s = sizes
    # File names decide the order inside the solid block: 7z packs by
    # extension, then by name, so ".bin" and a leading "0" go before the marker.
    if name.startswith("lzma2-100m-marker-first"):
        WriteText(os.path.join(src, "text.txt"), s["small_text"], 1)
        WriteRandom(os.path.join(src, "random.zzz"), s["small_random"])
        Marker(src)
        MakeExecutable(exe, src, [MARKER, "text.txt", "random.zzz"], ["-m0=LZMA2", "-mx=1", "-ms=4g"])
    elif name.startswith("lzma2-100m-marker-last"):
        WriteText(os.path.join(src, "0-text.bin"), s["small_text"], 1)
        WriteRandom(os.path.join(src, "0-random.bin"), s["small_random"])
        Marker(src)
        MakeExecutable(exe, src, ["0-text.bin", "0-random.bin", MARKER], ["-m0=LZMA2", "-mx=1", "-ms=4g"])
    elif name.startswith("lzma2-1g"):
        WriteText(os.path.join(src, "text.txt"), s["big_text"], 2)
        WriteRandom(os.path.join(src, "random.zzz"), s["big_random"])
        Marker(src)
        MakeExecutable(exe, src, [MARKER, "text.txt", "random.zzz"], ["-m0=LZMA2", "-mx=1"])
    elif name.startswith("copy"):
        WriteRandom(os.path.join(src, "random.bin"), int(name.split("-")[1]) * MIB)
        Marker(src)
        MakeExecutable(exe, src, [MARKER, "random.bin"], ["-m0=Copy"])
    elif name.startswith("files"):
        count = int(name.split("-")[1])
        WriteSmallFiles(src, count, 3)
        Marker(src)
        MakeExecutable(exe, src, [MARKER] + sorted(d for d in os.listdir(src) if d != MARKER),
                       ["-m0=LZMA2", "-mx=1"])
    else:
        raise ValueError(name)
    shutil.rmtree(src)
    return exe


def BuildOldFiles(cache, count):
    """The files already in the output for the conflict rows, made once."""
    folder = os.path.join(cache, "old-files-%d" % count)
    if not os.path.isdir(folder):
        WriteSmallFiles(folder + ".part", count, 3, old=True)
        os.rename(folder + ".part", folder)
    return folder


# ---------------------------------------------------------------- rows

class TRow:
    def __init__(self, name, exe, goal, cli_args=(), sevenzip_args=(), existing=None, every=1, keeps=False):
        self.Name, self.Exe, self.Goal = name, exe, goal
        self.CliArgs, self.SevenZipArgs = list(cli_args), list(sevenzip_args)
        self.Existing, self.Every = existing, every  # files already in the output: every n-th of a folder
        self.Keeps = keeps  # the files already there stay as they are


def Rows(cache, sizes):
    exe = lambda name: BuildInput(cache, name, sizes)
    copy_mib = sizes["copy"] // MIB
    # The Copy row needs the executable, its copy and two outputs at once.
    free = shutil.disk_usage(cache).free
    if not QUICK and free < 5 * sizes["copy"] + 8 * 1024 * MIB:
        copy_mib = 1024
        print("only %d MiB free: the Copy row uses 1 GiB in place of 4 GiB" % (free // MIB), flush=True)
    few, many = sizes["few_files"], sizes["many_files"]
    label = lambda mib: "%d GiB" % (mib // 1024) if mib >= 1024 else "%d MiB" % mib
    text_mib = (sizes["small_text"] + sizes["small_random"]) // MIB
    big_mib = (sizes["big_text"] + sizes["big_random"]) // MIB
    rows = [
        lambda: TRow("LZMA2 %s text+random" % label(text_mib), exe("lzma2-100m-marker-first-v1"), 1.10),
        lambda: TRow("LZMA2 %s -mx=1" % label(big_mib), exe("lzma2-1g-v1"), 1.10),
        lambda: TRow("Copy %s" % label(copy_mib), exe("copy-%d-v1" % copy_mib), 1.25),
        lambda: TRow("%d small files" % few, exe("files-%d-v1" % few), 1.10),
        lambda: TRow("%d small files" % many, exe("files-%d-v1" % many), 1.10),
        lambda: TRow("conflict all exist, skip", exe("files-%d-v1" % few), 1.50,
                     ["--overwrite", "skip"], ["-aos"], BuildOldFiles(cache, few), 1, keeps=True),
        lambda: TRow("conflict half exist, replace", exe("files-%d-v1" % few), 1.50,
                     ["--overwrite", "replace"], ["-aoa"], BuildOldFiles(cache, few), 2),
        lambda: TRow("marker behind %s, solid" % label(text_mib), exe("lzma2-100m-marker-last-v1"), 1.10),
    ]
    names = ["lzma2 text random", "lzma2 mx1 1g", "copy stored", "small 10k files", "small 100k files",
             "conflict skip", "conflict replace", "marker"]
    for words, make in zip(names, rows):
        if not ROW_FILTER or any(w in words for w in ROW_FILTER):
            yield make()


# ---------------------------------------------------------------- running

def Prepare(row, out):
    """An output folder as the row needs it before a run."""
    shutil.rmtree(out, ignore_errors=True)
    if row.Existing:
        os.makedirs(out)
        for folder in sorted(os.listdir(row.Existing)):
            os.makedirs(os.path.join(out, folder))
            names = sorted(os.listdir(os.path.join(row.Existing, folder)))
            for name in names[::row.Every]:
                shutil.copy2(os.path.join(row.Existing, folder, name), os.path.join(out, folder, name))


def Command(tool, cli, row, out):
    if tool == "cli":
        return [cli, "--quiet"] + row.CliArgs + [row.Exe, out]
    return ["7z", "x", "-bd", "-y", "-p" + PASSWORD] + row.SevenZipArgs + ["-o" + out, row.Exe]


def Allocated(paths):
    result = subprocess.run(["du", "-s", "-B1", "--total"] + [p for p in paths if os.path.exists(p)],
                            capture_output=True, text=True)
    lines = result.stdout.strip().splitlines()
    return int(lines[-1].split()[0]) if lines else 0


def Settle(exe):
    """Writes everything out and, where allowed, empties the caches and reads
    `exe` back into them; True when the caches were emptied."""
    subprocess.run(["sync"], check=True)
    try:
        with open("/proc/sys/vm/drop_caches", "w") as f:
            f.write("3\n")
    except OSError:
        return False
    with open(exe, "rb") as f:
        while f.read(16 * MIB):
            pass
    return True


def RunOnce(tool, cli, row, folder, sample_disk=False):
    """One run; returns (wall s, cpu s, peak rss KiB, peak extra disk bytes, bytes placed),
    the last two None unless `sample_disk`."""
    out, tmp = os.path.join(folder, "out-" + tool), os.path.join(folder, "tmp-" + tool)
    Prepare(row, out)
    shutil.rmtree(tmp, ignore_errors=True)
    os.makedirs(tmp)
    env = dict(os.environ, VARNHOLD_PASSWORD=PASSWORD, TMPDIR=tmp)
    Settle(row.Exe)
    baseline = Allocated([out, tmp]) if sample_disk else 0
    peak = [baseline]
    start = time.monotonic()
    # GNU time reports the peak memory: a child forked from this script would
    # carry the script's own peak into the figure.
    rss_file = os.path.join(folder, "rss-" + tool)
    process = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", rss_file] + Command(tool, cli, row, out),
                               env=env, stdout=subprocess.DEVNULL)
    sampler = None
    if sample_disk:
        def Sample():
            while process.returncode is None:
                peak[0] = max(peak[0], Allocated([out, tmp]))
                time.sleep(0.05)
        sampler = threading.Thread(target=Sample)
        sampler.start()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if sampler:
        sampler.join()
        peak[0] = max(peak[0], Allocated([out, tmp]))  # a run shorter than one interval
    with open(rss_file) as f:
        rss = int(f.read().split()[-1])
    # 7z ends with 1 for a warning: the bytes of the stub before the archive.
    if process.returncode not in ((0, 1) if tool == "7z" else (0,)):
        sys.exit("%s ended with %d on %s" % (tool, process.returncode, row.Name))
    extra = placed = None
    if sample_disk:
        extra = peak[0] - baseline
        placed = Allocated([out]) - (baseline if row.Keeps else 0)
    return wall, usage.ru_utime + usage.ru_stime, rss, extra, placed


def SameOutputs(folder):
    """The two tools gave the same files, apart from the marker (7z delivers it)."""
    result = subprocess.run(["diff", "-rq", "-x", MARKER, os.path.join(folder, "out-cli"),
                             os.path.join(folder, "out-7z")], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("the outputs differ:\n" + result.stdout[:2000])
    if os.path.exists(os.path.join(folder, "out-cli", MARKER)):
        sys.exit("the CLI delivered the marker")


def Measure(cli, row, folder):
    disk = {tool: RunOnce(tool, cli, row, folder, sample_disk=True)[3:] for tool in ("cli", "7z")}
    runs = {"cli": [], "7z": []}
    for pair in range(PAIRS):
        for tool in (("cli", "7z") if pair % 2 == 0 else ("7z", "cli")):
            runs[tool].append(RunOnce(tool, cli, row, folder))
    SameOutputs(folder)
    for name in ("out-cli", "out-7z", "tmp-cli", "tmp-7z"):
        shutil.rmtree(os.path.join(folder, name), ignore_errors=True)
    cpu = [c[1] / s[1] for c, s in zip(runs["cli"], runs["7z"])]
    wall = [c[0] / s[0] for c, s in zip(runs["cli"], runs["7z"])]
    return dict(cpu=cpu, wall=wall,
                cli_cpu=statistics.median(r[1] for r in runs["cli"]),
                sz_cpu=statistics.median(r[1] for r in runs["7z"]),
                cli_rss=max(r[2] for r in runs["cli"]) // 1024, sz_rss=max(r[2] for r in runs["7z"]) // 1024,
                cli_disk=disk["cli"][0], sz_disk=disk["7z"][0], placed=disk["7z"][1],
                payload=os.path.getsize(row.Exe) - STUB_SIZE)


def Spread(values):
    return "%.2f/%.2f/%.2f" % (min(values), statistics.median(values), max(values))


HEADER = "%-31s %-16s %-16s %7s %7s %11s %13s  %s" % (
    "row", "cpu ratio", "wall ratio", "cli s", "7z s", "rss MiB", "disk MiB", "goal")


def Line(row, m):
    cpu_ok = statistics.median(m["cpu"]) <= row.Goal
    disk_ok = m["cli_disk"] <= m["payload"] + max(m["placed"], m["sz_disk"]) + 4 * MIB
    return "%-31s %-16s %-16s %7.2f %7.2f %11s %13s  cpu <= %.2f %s, disk %s" % (
        row.Name, Spread(m["cpu"]), Spread(m["wall"]), m["cli_cpu"], m["sz_cpu"],
        "%d/%d" % (m["cli_rss"], m["sz_rss"]), "%d/%d" % (m["cli_disk"] // MIB, m["sz_disk"] // MIB),
        row.Goal, "ok" if cpu_ok else "MISSED", "ok" if disk_ok else "MISSED")


def main():
    cli_built, work = sys.argv[1], os.path.abspath(sys.argv[2])
    cache = os.path.join(work, "cache-quick" if QUICK else "cache")
    os.makedirs(cache, exist_ok=True)
    # A folder of this run's own, with a copy of the program, so that a
    # rebuild during a long run changes nothing.
    folder = os.path.join(work, "run-%d" % os.getpid())
    os.makedirs(folder)
    cli = os.path.join(folder, "varnhold-extract-cli")
    shutil.copy2(cli_built, cli)
    sizes = Sizes()
    rows = list(Rows(cache, sizes))
    print("%d pairs per row%s; load average %s; %d CPUs; %s" % (
        PAIRS, ", QUICK sizes" if QUICK else "", " ".join(open("/proc/loadavg").read().split()[:3]),
        os.cpu_count(), "caches emptied before each run" if os.access("/proc/sys/vm/drop_caches", os.W_OK)
        else "caches kept (not root): the many-files rows vary with the file system's state"), flush=True)
    print("ratios: varnhold-extract-cli / 7z x on the same executable, min/median/max; "
          "rss, disk: cli/7z", flush=True)
    print(HEADER, flush=True)
    results = {}
    for row in rows:
        results[row.Name] = Measure(cli, row, folder)
        print(Line(row, results[row.Name]), flush=True)
    first = next((m for n, m in results.items() if n.startswith("LZMA2") and "text" in n), None)
    last = next((m for n, m in results.items() if n.startswith("marker")), None)
    if first and last:
        print("password test behind the data: CLI %+.2f s CPU against the marker first (7z %+.2f s)" % (
            last["cli_cpu"] - first["cli_cpu"], last["sz_cpu"] - first["sz_cpu"]))
    print("load average at the end %s" % " ".join(open("/proc/loadavg").read().split()[:3]))
    shutil.rmtree(folder)


if __name__ == "__main__":
    main()
