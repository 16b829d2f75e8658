"""A robot transcript: the windows a run showed, how they changed, and the answers given."""

import json


class Window:
    """One appearance of a top-level window, from "appeared" to "closed"."""

    def __init__(self, event):
        self.hwnd = event["hwnd"]
        self.appeared = event["t"]
        self.closed = None
        self.states = [event]
        self.answered = None  # the state the robot saw when it answered, last time
        self.answered_by_rig = False  # answered by an optional step the rig added (the run's end)

    @property
    def caption(self):
        return self.states[0]["caption"]

    @property
    def is_messagebox(self):
        return self.states[0]["messagebox"]

    @property
    def last(self):
        return self.states[-1]

    def control(self, control_id, state=None):
        for control in (state or self.last)["controls"]:
            if control["id"] == control_id:
                return control
        return None

    def text(self, control_id, state=None):
        """The text the control showed (in `state`, or last); None when it was not read."""
        control = self.control(control_id, state)
        return control["text"] if control else None

    def texts(self, control_id):
        """The control's texts in the order they were seen, repeats left out. A window that closed
        after its last answer is read up to that answer: read while it is destroyed, its controls
        may show no text."""
        states = self.states
        if self.closed is not None and self.answered is not None:
            states = states[:next(i for i, state in enumerate(states) if state is self.answered) + 1]
        seen = []
        for state in states:
            text = self.text(control_id, state)
            if text is not None and (not seen or seen[-1] != text):
                seen.append(text)
        return seen

    @property
    def seen(self):
        """The state to judge a window by: as answered, else as last seen (a closing window
        hides its controls)."""
        return self.answered or self.last

    def visible_buttons(self):
        return [c["id"] for c in self.seen["controls"]
                if c["class"].lower() == "button" and c["visible"] and (int(c["style"], 16) & 0x0F) in (0, 1)]

    def default_button(self):
        """The visible push button with BS_DEFPUSHBUTTON, or None."""
        for c in self.seen["controls"]:
            if c["class"].lower() == "button" and c["visible"] and (int(c["style"], 16) & 0x0F) == 1:
                return c["id"]
        return None

    def shows_icon(self):
        """A message box shows its icon static only when an icon was asked for."""
        return any(c["class"].lower() == "static" and (int(c["style"], 16) & 0x1F) == 3 and c["visible"]
                   for c in self.seen["controls"])

    def message(self):
        return self.text(0xFFFF, self.seen)


class Transcript:
    def __init__(self, path):
        self.path = path
        self.events = []
        with open(path, encoding="utf-8") as lines:
            for number, line in enumerate(lines, 1):
                try:
                    self.events.append(json.loads(line))
                except ValueError:
                    # The robot writes whole lines; a broken one means it was killed mid-write.
                    self.events.append({"t": None, "event": "broken", "line": number, "text": line[:200]})
        self.all_windows = []
        open_windows = {}
        for event in self.events:
            kind = event["event"]
            if kind == "appeared":
                window = Window(event)
                self.all_windows.append(window)
                open_windows[event["hwnd"]] = window
            elif kind == "changed" and event["hwnd"] in open_windows:
                open_windows[event["hwnd"]].states.append(event)
            elif kind == "answer" and event["hwnd"] in open_windows:
                window = open_windows[event["hwnd"]]
                window.answered = window.last
                window.answered_by_rig = bool(event.get("optional"))
            elif kind == "closed" and event["hwnd"] in open_windows:
                open_windows.pop(event["hwnd"]).closed = event["t"]

    @property
    def windows(self):
        """The windows that the scenario's own steps met; those the rig answered for it at the end
        of the run (file types dialog, closing message) are in `closing_windows`."""
        return [w for w in self.all_windows if not w.answered_by_rig]

    @property
    def closing_windows(self):
        return [w for w in self.all_windows if w.answered_by_rig]

    def first(self, kind):
        return next((e for e in self.events if e["event"] == kind), None)

    @property
    def exit_code(self):
        exit_event = self.first("exit")
        return exit_event["code"] if exit_event else None

    @property
    def timed_out(self):
        return self.first("timeout") is not None

    @property
    def unmatched(self):
        event = self.first("unmatched")
        return event["steps"] if event else []

    def answers(self):
        return [e for e in self.events if e["event"] == "answer"]

    def titled(self, caption):
        return [w for w in self.windows if w.caption == caption]

    def messageboxes(self):
        return [w for w in self.windows if w.is_messagebox]

    def excerpt(self, limit=120):
        """The run in a few lines: texts in full where they first show, changes as differences, long
        runs of changes to one window folded into one line."""
        lines = []
        last = {}
        pending = []  # a run of changes to one window, folded when long

        def flush():
            if len(pending) > 3:
                first, final = pending[0], pending[-1]
                lines.append("%6s..%s changed %s %d times, last: %s" % (
                    first[0], final[0], final[1], len(pending), final[2]))
            else:
                lines.extend("%6s changed %s %s" % entry for entry in pending)
            pending.clear()

        for event in self.events:
            kind = event["event"]
            if kind == "changed":
                before = last.get(event["hwnd"], {})
                now = _controls(event)
                diff = ", ".join("%s=%s" % (key, _short(value)) for key, value in now.items()
                                 if before.get(key) != value)
                last[event["hwnd"]] = now
                if pending and pending[-1][1] != event["hwnd"]:
                    flush()
                pending.append((event["t"], event["hwnd"], diff or "(styles)"))
                continue
            flush()
            if kind == "appeared":
                last[event["hwnd"]] = _controls(event)
                lines.append("%6s appeared %s %r%s %s" % (
                    event["t"], event["hwnd"], event["caption"], " (message box)" if event["messagebox"] else "",
                    " ".join("%s=%s" % (k, _short(v)) for k, v in last[event["hwnd"]].items())))
            else:
                details = {k: v for k, v in event.items() if k not in ("t", "event")}
                lines.append("%6s %s %s" % (event["t"], kind, json.dumps(details, ensure_ascii=False)))
        flush()
        if len(lines) > limit:
            lines = lines[:limit // 2] + ["   ... %d lines ..." % (len(lines) - limit)] + lines[-limit // 2:]
        return "\n".join(lines)


def _controls(event):
    return {str(c["id"]): c["text"] for c in event["controls"]}


def _short(text, width=70):
    if text is None:
        return "?"
    shown = json.dumps(text, ensure_ascii=False)
    return shown if len(shown) <= width else shown[:width - 4] + '..."'
