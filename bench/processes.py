"""Processes of a program on Linux, from /proc: its process tree, each process's memory (PSS, RSS,
private) and CPU time per thread. Shared by the footprint scripts. Standard library only."""

import os
import time


def _read(path):
    try:
        with open(path) as f:
            return f.read()
    except OSError:
        return None


def _stat_fields(pid):
    """Fields of /proc/<pid>/stat after the command name (field 3 onwards), or None."""
    text = _read(f"/proc/{pid}/stat")
    if not text:
        return None
    return text[text.rindex(")") + 2:].split()


def process_name(pid):
    """The executable's name, with the role a browser process was started for ("renderer", "gpu-process")."""
    cmdline = _read(f"/proc/{pid}/cmdline") or ""
    args = cmdline.split("\0")
    if not args[0]:
        return (_read(f"/proc/{pid}/comm") or "").strip()
    name = os.path.basename(args[0])
    roles = [a.split("=", 1)[1] for a in args if a.startswith("--type=")]
    if not roles:
        return name
    # A browser's zygote forks its children without a new command line: name them as its children.
    fields = _stat_fields(pid)
    parent = _read(f"/proc/{fields[1]}/cmdline") if fields else None
    if roles[0] == "zygote" and parent == cmdline:
        return f"{name} (zygote child)"
    return f"{name} ({roles[0]})"


def descendants(root):
    """The root and every process below it, as {pid: name}."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            fields = _stat_fields(entry)
            if fields:
                children.setdefault(int(fields[1]), []).append(int(entry))
    found, todo = {}, [root]
    while todo:
        pid = todo.pop()
        name = process_name(pid)
        if not name:
            continue
        found[pid] = name
        todo.extend(children.get(pid, []))
    return found


def thread_cpu(pid):
    """{thread id: CPU seconds so far} of each live thread of the process (the scheduler's nanosecond
    figures; the tick counts of /proc/<pid>/stat are too coarse for an idle program)."""
    used = {}
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return used
    for tid in tids:
        text = _read(f"/proc/{pid}/task/{tid}/schedstat")
        if text:
            used[int(tid)] = int(text.split()[0]) / 1e9
    return used


def memory_mb(pid):
    """(PSS, RSS, private) of the process in MB from /proc/<pid>/smaps_rollup, or None. PSS charges each
    shared page in part, so it falls when other programs map the same libraries; RSS counts them in
    full and is the most PSS can be; private pages are the process's alone."""
    text = _read(f"/proc/{pid}/smaps_rollup")
    if not text:
        return None
    kb = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) >= 2 and parts[1].isdigit():
            kb[parts[0].rstrip(":")] = int(parts[1])
    if "Pss" not in kb:
        return None
    private = kb.get("Private_Clean", 0) + kb.get("Private_Dirty", 0)
    return kb["Pss"] / 1024, kb.get("Rss", 0) / 1024, private / 1024


def label_processes(procs):
    """{pid: name} -> {pid: label}; the same name twice gets a number ("QtWebEngineProc#2")."""
    labels, seen = {}, {}
    for pid in sorted(procs):
        name = procs[pid]
        seen[name] = seen.get(name, 0) + 1
        labels[pid] = name if seen[name] == 1 else f"{name}#{seen[name]}"
    return labels


def memory_of_tree(root):
    procs = descendants(root)
    labels = label_processes(procs)
    found = {labels[pid]: memory_mb(pid) for pid in procs}
    return {name: mb for name, mb in found.items() if mb is not None}


def idle_cpu(root, seconds):
    """CPU seconds each process of the tree used over the next `seconds`. Threads and processes are
    followed once a second, so those that start in between count in full and those that end lose at
    most their last second."""
    first, last, names = {}, {}, {}
    deadline = time.monotonic() + seconds
    baseline = True
    while True:
        for pid, name in descendants(root).items():
            names[pid] = name
            for tid, used in thread_cpu(pid).items():
                first.setdefault((pid, tid), used if baseline else 0.0)
                last[(pid, tid)] = used
        baseline = False
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            break
        time.sleep(min(1.0, remaining))
    labels = label_processes(names)
    totals = {labels[pid]: 0.0 for pid in names}
    for (pid, tid), used in last.items():
        totals[labels[pid]] += used - first[(pid, tid)]
    return totals
