// What the page knows of its rooms, kept in step with the live events.

export class Rooms {
  constructor() {
    this.byName = new Map();
  }

  // From GET /api/rooms: the list, its order and what each row shows.
  setList(list) {
    const next = new Map();
    for (const row of list) next.set(row.name, { ...this.byName.get(row.name), ...row });
    this.byName = next;
  }

  get(name) {
    return this.byName.get(name);
  }

  // Applies an event; returns the room it changed, if it is one of ours.
  apply(event) {
    const room = this.byName.get(event.room);
    if (!room) return null;
    if (event.type === "state") {
      const { type, ...state } = event;
      Object.assign(room, state, { name: room.name });
    } else if (event.type === "change") {
      applyChange(room, event);
    } else if (event.type === "levels") {
      room.levels = event.levels;
    }
    return room;
  }
}

function applyChange(room, { channel, param, value }) {
  if (channel === 0 && (param === "scene" || param === "programs")) {
    room[param] = value;
  } else if (channel === 0) {
    room.system = { ...room.system, [param]: value };
  } else {
    room.outputs = room.outputs || {};
    room.outputs[channel] = { ...room.outputs[channel], [param]: value };
  }
}

// Output numbers 1 … 6 whose mute is on.
export function mutedOutputs(room) {
  return [1, 2, 3, 4, 5, 6].filter((n) => room.outputs?.[n]?.mute === true);
}
