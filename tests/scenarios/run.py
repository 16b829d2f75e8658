#!/usr/bin/env python3
"""Runs one end-to-end scenario of setup under Wine, or prepares and removes what all share.

    run.py --list [--width 32|64]   the scenarios of that width's build (the 32-bit one also
                                    runs some in a 64-bit prefix, as on 64-bit Windows)
    run.py OPTIONS --setup          the base prefix, and an Xvfb display unless DISPLAY works
    run.py OPTIONS --cleanup        stops the display --setup started
    run.py OPTIONS NAME             one scenario; exit 0 passed, 1 failed, 77 skipped
OPTIONS: --installer Install.exe --robot robot.exe --programs DIR --work DIR --source REPO --width 32|64
(the programs' width: the Wine that runs them)
"""

import argparse
import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import winehost  # noqa: E402
from rig import SKIPPED, Scenario, ScenarioFailure, ScenarioSkipped, Tools  # noqa: E402
from scenarios import SCENARIOS, WOW64_SCENARIOS  # noqa: E402
import library_scenarios  # noqa: E402,F401  (registers its scenarios)
import registration_scenarios  # noqa: E402,F401  (registers its scenarios)
import closing_scenarios  # noqa: E402,F401  (registers its scenarios)
import matrix_scenarios  # noqa: E402,F401  (registers its scenarios)
import wow64_scenarios  # noqa: E402,F401  (registers its scenarios)


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description="End-to-end scenarios of setup under Wine")
    parser.add_argument("name", nargs="?", choices=sorted(SCENARIOS), metavar="NAME")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--setup", action="store_true")
    parser.add_argument("--cleanup", action="store_true")
    for option in ("installer", "robot", "programs", "work", "source"):
        parser.add_argument("--" + option)
    parser.add_argument("--width", type=int, choices=sorted(winehost.LOADERS), default=32)
    args = parser.parse_args(argv)
    if not args.list and not all((args.installer, args.robot, args.programs, args.work, args.source)):
        parser.error("--installer, --robot, --programs, --work and --source are required")
    for option in ("installer", "robot", "programs", "work", "source"):
        if getattr(args, option):
            setattr(args, option, os.path.abspath(getattr(args, option)))
    return args


def choose_display(work):
    """The run's shared Xvfb, else the caller's display, else one of our own (returned to stop)."""
    shared = winehost.SharedDisplay(work).find()
    if shared:
        return shared, None
    if winehost.display_works(os.environ.get("DISPLAY")):
        return os.environ["DISPLAY"], None
    display, process = winehost.start_xvfb()
    return display, process


# The base prefixes that scenarios copy, by whether they are 64-bit ones for 32-bit programs.
BASE_PREFIXES = {False: "base-prefix", True: "base-prefix-wow64"}


def run_scenario(args):
    started = time.time()
    tools = Tools(args.installer, args.robot, args.programs, args.work, args.source)
    display, own_xvfb = choose_display(args.work)
    wow64 = args.name in WOW64_SCENARIOS
    s = None
    try:
        if wow64 and args.width != 32:
            raise winehost.HostError("%s runs 32-bit programs in a 64-bit prefix: --width 32 only" % args.name)
        base, waited = winehost.ensure_base_prefix(os.path.join(args.work, BASE_PREFIXES[wow64]), display,
                                                   wow64=wow64)
        s = Scenario(tools, args.name, display, wow64)
        if waited > 1:
            s.timings["base prefix"] = waited
        s.create_prefix(base)
        notes = SCENARIOS[args.name](s) or []
        s.finish(passed=True)
        report(s, "PASS", started, notes)
        return 0
    except ScenarioSkipped as reason:
        s.finish(passed=True)
        report(s, "SKIP (%s)" % reason, started)
        return SKIPPED
    except ScenarioFailure as failure:
        print("FAIL %s: %s" % (args.name, failure))
        if s.transcript:
            print("\ntranscript (%s):\n%s" % (s.transcript.path, s.transcript.excerpt()))
        s.finish(passed=False)
        print("\nthe prefix is kept for a look: %s" % s.prefix.path)
        report(s, "FAIL", started)
        return 1
    except winehost.HostError:
        if s:
            s.finish(passed=False)
        raise
    except Exception:
        traceback.print_exc()
        if s:
            s.finish(passed=False)
            print("the prefix is kept for a look: %s" % s.prefix.path)
        return 1
    finally:
        if own_xvfb:
            own_xvfb.terminate()


def report(s, verdict, started, notes=()):
    total = time.time() - started
    s.timings["checks and the rest"] = total - sum(s.timings.values())
    timings = ", ".join("%s %.1f s" % item for item in s.timings.items())
    print("%s %s (%s; total %.1f s)" % (verdict, s.name, timings, total))
    for note in notes:
        print("  " + note)


def main(argv):
    args = parse_arguments(argv)
    if args.list:
        print(";".join(sorted(name for name in SCENARIOS if args.width == 32 or name not in WOW64_SCENARIOS)))
        return 0
    os.makedirs(args.work, exist_ok=True)
    winehost.use_width(args.width)
    try:
        if args.setup:
            shared = winehost.SharedDisplay(args.work)
            display = shared.find() or (os.environ.get("DISPLAY") if winehost.display_works(
                os.environ.get("DISPLAY")) else shared.start())
            for wow64 in (False, True) if args.width == 32 else (False,):
                _, seconds = winehost.ensure_base_prefix(os.path.join(args.work, BASE_PREFIXES[wow64]), display,
                                                         wow64=wow64)
                print("%s ready in %.1f s, display %s" % (BASE_PREFIXES[wow64], seconds, display))
            return 0
        if args.cleanup:
            winehost.SharedDisplay(args.work).stop()
            return 0
        if not args.name:
            print("no scenario named; --list shows them", file=sys.stderr)
            return 2
        return run_scenario(args)
    except winehost.HostError as problem:
        print("cannot run scenarios here: %s" % problem)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
