// The room view: the volume slider up to the staff limit, the room's mute,
// the named programs and the output meters.

import { call, roomPath } from "./api.js";
import { mutedOutputs } from "./rooms.js";
import { decibels, t } from "./texts.js";

const $ = (id) => document.getElementById(id);
const OUTPUTS = [1, 2, 3, 4, 5, 6];
const LOWEST_DB = -20; // the processor's usual bottom; a lower true value widens the slider
const LEVEL_TOP = 255; // the meters' raw reading

export class RoomView {
  constructor() {
    this.room = null;
    this.sending = false; // a volume PATCH in flight
    this.wanted = null; // the volume the slider asks for, not yet sent
    $("volume").addEventListener("input", () => this.volumeMoved());
    $("mute").addEventListener("click", () => this.toggleMute());
    this.buildMeters();
  }

  // Shows room (its details from GET /api/rooms/{room}).
  async open(room) {
    this.room = room;
    this.render();
    await this.refresh();
  }

  close() {
    this.room = null;
  }

  // Reads the limit and which outputs staff muted, which no event carries.
  async refresh() {
    const room = this.room;
    if (!room) return;
    const answer = await call("GET", roomPath(room.name));
    if (answer.status !== 200 || this.room !== room) return;
    room.staff_max_volume_db = answer.body.staff_max_volume_db;
    room.staff_muted = answer.body.staff_muted;
    this.render();
  }

  // After an event of this room.
  update(event) {
    if (event.type === "levels") return this.renderMeters();
    if (event.type === "change" && event.param === "mute") {
      // A room's mute comes as six changes: one read after them.
      clearTimeout(this.refreshTimer);
      this.refreshTimer = setTimeout(() => this.refresh(), 50);
    }
    this.render();
  }

  render() {
    const room = this.room;
    if (!room) return;
    $("room-name").textContent = room.name;
    $("room-scene").textContent = room.scene || t("noScene");
    $("room-offline").hidden = room.online !== false;
    this.renderVolume();
    this.renderMute();
    this.renderPrograms();
    this.renderMeters();
  }

  limit() {
    return typeof this.room.staff_max_volume_db === "number" ? this.room.staff_max_volume_db : 0;
  }

  renderVolume() {
    const slider = $("volume");
    const volume = this.room.system?.volume;
    const above = typeof volume === "number" && volume > this.limit();
    if (!this.sending && this.wanted === null) {
      slider.min = String(Math.min(LOWEST_DB, typeof volume === "number" ? volume : LOWEST_DB));
      slider.max = String(above ? volume : this.limit());
      slider.value = String(typeof volume === "number" ? volume : slider.min);
    }
    // The limit comes with the room's details: no slider before it is known.
    slider.disabled = this.room.online === false || typeof this.room.staff_max_volume_db !== "number";
    slider.setAttribute("aria-valuetext", decibels(Number(slider.value)));
    // A room never read yet (offline since the service started) has no volume.
    const known = volume !== undefined;
    $("volume-db").textContent = known ? decibels(typeof volume === "number" ? Number(slider.value) : volume) : "–";
    $("volume-note").hidden = !above;
    $("volume-note").textContent = t("aboveLimit", { limit: decibels(this.limit()) });
  }

  // Sends the slider's value, one request at a time, the latest winning.
  // From above the limit the first step down goes to the limit: staff may
  // set nothing higher.
  async volumeMoved() {
    const slider = $("volume");
    this.wanted = Math.min(Number(slider.value), this.limit());
    slider.setAttribute("aria-valuetext", decibels(Number(slider.value)));
    $("volume-db").textContent = decibels(Number(slider.value));
    if (this.sending) return;
    this.sending = true;
    while (this.wanted !== null && this.room) {
      const value = this.wanted;
      this.wanted = null;
      const answer = await call("PATCH", roomPath(this.room.name), { system: { volume: value } });
      this.showAnswer(answer);
    }
    this.sending = false;
    this.render();
  }

  showAnswer(answer) {
    $("room-error").textContent = answer.status === 200 || answer.status === 0 ? "" : t("refused", { why: answer.body.error });
    if (answer.status === 200 && this.room) Object.assign(this.room, answer.body, { name: this.room.name });
  }

  renderMute() {
    const muted = mutedOutputs(this.room);
    const staffMuted = this.room.staff_muted || [];
    const installers = muted.filter((n) => !staffMuted.includes(n));
    const all = muted.length === OUTPUTS.length;
    const button = $("mute");
    button.textContent = all ? t("unmuteRoom") : t("muteRoom");
    button.setAttribute("aria-pressed", String(all));
    button.disabled = this.room.online === false || (all && installers.length === OUTPUTS.length);
    $("mute-note").hidden = installers.length === 0;
    $("mute-note").textContent = t("installerMuted", { outputs: installers.join(", ") });
  }

  // Mutes what is not muted yet, or unmutes what staff muted: an output the
  // installer muted is left alone.
  async toggleMute() {
    const muted = mutedOutputs(this.room);
    const all = muted.length === OUTPUTS.length;
    const staffMuted = this.room.staff_muted || [];
    const outputs = all ? muted.filter((n) => staffMuted.includes(n)) : OUTPUTS.filter((n) => !muted.includes(n));
    if (outputs.length === 0) return;
    const body = { outputs: Object.fromEntries(outputs.map((n) => [String(n), { mute: !all }])) };
    this.showAnswer(await call("PATCH", roomPath(this.room.name), body));
    this.render();
  }

  renderPrograms() {
    const box = $("programs");
    const names = (this.room.programs || []).map((name, i) => ({ name: (name || "").trim(), program: i + 1 }));
    const named = names.filter((p) => p.name);
    const key = JSON.stringify(named) + String(this.room.online);
    $("no-programs").hidden = named.length > 0;
    if (box.dataset.key === key) return;
    box.dataset.key = key;
    box.replaceChildren(
      ...named.map(({ name, program }) => {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = name;
        button.disabled = this.room.online === false;
        button.addEventListener("click", () => this.recall(program, name));
        return button;
      }),
    );
  }

  async recall(program, name) {
    if (!(await confirmRecall(name))) return;
    this.showAnswer(await call("POST", `${roomPath(this.room.name)}/recall`, { program }));
  }

  buildMeters() {
    $("meters").replaceChildren(
      ...OUTPUTS.map((n) => {
        const row = document.createElement("div");
        row.className = "meter";
        row.innerHTML = `<label for="meter-${n}"></label><meter id="meter-${n}" min="0" max="${LEVEL_TOP}" value="0"></meter>`;
        return row;
      }),
    );
  }

  renderMeters() {
    const levels = this.room?.levels || [];
    for (const n of OUTPUTS) {
      document.querySelector(`label[for="meter-${n}"]`).textContent = t("output", { n });
      $(`meter-${n}`).value = this.room?.online === false ? 0 : levels[n - 1] || 0;
    }
  }
}

// The native dialog, its buttons "Cancel" and "Recall" (确定).
function confirmRecall(name) {
  const dialog = $("confirm");
  $("confirm-text").textContent = t("recallQuestion", { name });
  return new Promise((resolve) => {
    dialog.addEventListener("close", () => resolve(dialog.returnValue === "ok"), { once: true });
    dialog.returnValue = "";
    dialog.showModal();
  });
}
