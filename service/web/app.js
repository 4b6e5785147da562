// The staff page: log-in by token, the token's rooms, one room at a time
// (#room=NAME), everything following the service's live events.

import { Events, call, token } from "./api.js";
import { Rooms } from "./rooms.js";
import { RoomView } from "./room-view.js";
import { applyTexts, t, toggleLanguage } from "./texts.js";

const $ = (id) => document.getElementById(id);
const rooms = new Rooms();
const roomView = new RoomView();
let events = null;

function show(view) {
  for (const id of ["login", "rooms", "room"]) $(id).hidden = id !== view;
  $("logout").hidden = view === "login";
}

function openRoomName() {
  const match = /^#room=(.*)$/.exec(location.hash);
  return match ? decodeURIComponent(match[1]) : null;
}

// The list or the room the address names.
function route() {
  if (!events) return show("login");
  const room = rooms.get(openRoomName());
  if (!room) {
    roomView.close();
    renderList();
    return show("rooms");
  }
  show("room");
  if (roomView.room !== room) roomView.open(room);
  else roomView.render();
}

function renderList() {
  $("room-list").replaceChildren(
    ...[...rooms.byName.values()].map((room) => {
      const item = document.createElement("li");
      const link = document.createElement("a");
      link.className = "room-row";
      link.href = `#room=${encodeURIComponent(room.name)}`;
      const parts = [[room.name, "name"], [room.scene || t("noScene"), "scene"]];
      if (room.online === false) parts.push([t("offline"), "offline"]);
      link.replaceChildren(
        ...parts.map(([text, kind]) => {
          const span = document.createElement("span");
          span.className = kind;
          span.textContent = text;
          return span;
        }),
      );
      item.append(link);
      return item;
    }),
  );
}

function onEvent(event) {
  const room = rooms.apply(event);
  if (!room) return;
  if (roomView.room === room) roomView.update(event);
  if (event.type !== "levels" && $("room").hidden) renderList();
}

function startEvents() {
  events = new Events({
    onRooms: (list) => {
      rooms.setList(list);
      route();
    },
    onEvent,
    onConnection: (connected) => {
      $("connection").hidden = connected;
      $("connection").textContent = t("lost");
    },
    onRefused: () => logOut(t("wrongToken")),
  });
  events.start();
}

async function logIn(event) {
  event.preventDefault();
  const typed = $("token").value.trim();
  if (!typed) return;
  const answer = await call("GET", "/api/rooms", undefined, typed);
  $("token").value = "";
  if (answer.status !== 200) {
    $("login-error").textContent = answer.status === 401 ? t("wrongToken") : t("lost");
    return;
  }
  $("login-error").textContent = "";
  token.set(typed);
  startEvents();
}

function logOut(message = "") {
  token.clear();
  if (events) events.stop();
  events = null;
  $("connection").hidden = true;
  $("login-error").textContent = message;
  history.replaceState(null, "", location.pathname);
  route();
  $("token").focus();
}

function applyLanguage() {
  applyTexts();
  $("language").textContent = t("switchTo");
  $("language").lang = t("switchTo") === "中文" ? "zh-CN" : "en";
  $("connection").textContent = t("lost");
  route();
}

$("login").addEventListener("submit", logIn);
$("logout").addEventListener("click", () => logOut());
$("back").addEventListener("click", () => (location.hash = ""));
$("language").addEventListener("click", () => {
  toggleLanguage();
  applyLanguage();
});
window.addEventListener("hashchange", route);
// A log-in or log-out in another tab.
window.addEventListener("storage", (event) => {
  if (event.key !== "zr470.token") return;
  if (token.get() && !events) startEvents();
  else if (!token.get() && events) logOut();
});

applyLanguage();
if (token.get()) startEvents();
