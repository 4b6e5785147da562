// The service's API as the page uses it: the token kept in the browser,
// requests with it, and the live events with reconnecting.

const TOKEN_KEY = "zr470.token";

export const token = {
  get: () => localStorage.getItem(TOKEN_KEY) || "",
  set: (value) => localStorage.setItem(TOKEN_KEY, value),
  clear: () => localStorage.removeItem(TOKEN_KEY),
};

// One API call. Resolves to {status, body}; status 0 when the service
// could not be reached.
export async function call(method, path, body, bearer = token.get()) {
  const headers = { Authorization: `Bearer ${bearer}` };
  if (body !== undefined) headers["Content-Type"] = "application/json";
  try {
    const response = await fetch(path, { method, headers, body: body === undefined ? undefined : JSON.stringify(body) });
    return { status: response.status, body: await response.json().catch(() => ({})) };
  } catch {
    return { status: 0, body: {} };
  }
}

export const roomPath = (name) => `/api/rooms/${encodeURIComponent(name)}`;

// The live events of the token's rooms, with the output meters. Before
// every (re)connect it asks for the rooms: a refused token ends it
// (onRefused), an unreachable service is retried every few seconds, and
// onConnection(false) tells the page meanwhile.
export class Events {
  constructor({ onRooms, onEvent, onConnection, onRefused }) {
    Object.assign(this, { onRooms, onEvent, onConnection, onRefused });
    this.delay = 1000;
    this.stopped = false;
  }

  async start() {
    if (this.stopped) return;
    const rooms = await call("GET", "/api/rooms");
    if (this.stopped) return;
    if (rooms.status === 401) return this.onRefused();
    if (rooms.status !== 200) return this.retry();
    this.onRooms(rooms.body.rooms);
    const scheme = location.protocol === "https:" ? "wss:" : "ws:";
    this.socket = new WebSocket(`${scheme}//${location.host}/api/events?levels=1`, ["zr470", `bearer.${token.get()}`]);
    this.socket.onopen = () => {
      this.delay = 1000;
      this.onConnection(true);
    };
    this.socket.onmessage = (message) => this.onEvent(JSON.parse(message.data));
    this.socket.onclose = () => this.retry();
  }

  retry() {
    if (this.stopped) return;
    this.socket = null;
    this.onConnection(false);
    setTimeout(() => this.start(), this.delay);
    this.delay = Math.min(this.delay * 2, 4000);
  }

  stop() {
    this.stopped = true;
    if (this.socket) {
      this.socket.onclose = null;
      this.socket.close();
    }
  }
}
