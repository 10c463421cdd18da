// The live panel page: polls the server for the picture and its state, and
// sends the pointer's presses, releases and hovering in picture pixels.
'use strict';

const picture = document.getElementById('panel');
const tooltip = document.getElementById('tooltip');
const zoomSelect = document.getElementById('zoom');
const nightBox = document.getElementById('night');
const windowsBox = document.getElementById('windows');
const eventsList = document.getElementById('events');
const statusText = document.getElementById('status');
const pointerText = document.getElementById('pointer');

const shown = { frame: -1, width: 0, height: 0, url: null, windowsKey: '', lastEventSerial: 0 };
let zoom = 1;
let pointer = null;  // the last pointer position over the picture, in picture pixels
let buttonHeld = false;

// Pointer actions reach the server in the order they happened.
let actions = Promise.resolve();
let actionsStarted = 0;
let actionsDone = 0;
function act(path) {
  ++actionsStarted;
  actions = actions.then(() => fetch(path, { method: 'POST' })).then((r) => r.ok ? r.json() : null).catch(() => null)
    .finally(() => { ++actionsDone; });
  return actions;
}

function picturePoint(event) {
  const box = picture.getBoundingClientRect();
  const x = (event.clientX - box.left) * (shown.width / box.width);
  const y = (event.clientY - box.top) * (shown.height / box.height);
  return { x: Math.round(x * 100) / 100, y: Math.round(y * 100) / 100, clientX: event.clientX - box.left, clientY: event.clientY - box.top };
}

function query(point) { return `x=${point.x}&y=${point.y}`; }

function applyZoom() {
  if (shown.width) picture.style.width = `${shown.width * zoom}px`;
}

// Fetches the picture unless it is still the one shown; true when it changed.
async function showFrame() {
  const response = await fetch(`/panel.png?after=${Math.max(0, shown.frame)}`);
  if (response.status === 204) return false;
  if (!response.ok) throw new Error(`picture: ${response.status}`);
  const frame = Number(response.headers.get('X-Frame'));
  const url = URL.createObjectURL(await response.blob());
  picture.src = url;
  await picture.decode();
  if (shown.url) URL.revokeObjectURL(shown.url);
  shown.url = url;
  shown.frame = frame;
  picture.dataset.frame = String(frame);
  if (picture.naturalWidth !== shown.width || picture.naturalHeight !== shown.height) {
    shown.width = picture.naturalWidth;
    shown.height = picture.naturalHeight;
    applyZoom();
  }
  return true;
}

function showWindows(windows) {
  const key = JSON.stringify(windows);
  if (key === shown.windowsKey) return;
  shown.windowsKey = key;
  windowsBox.querySelectorAll('label').forEach((label) => label.remove());
  for (const w of windows) {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = w.visible;
    box.dataset.window = String(w.index);
    box.addEventListener('change', () => act(`/api/window?index=${w.index}&visible=${box.checked ? 1 : 0}`));
    label.append(box, ` ${w.title || `Window ${w.index}`}`);
    windowsBox.append(label);
  }
}

function showEvents(events) {
  const newest = events.length ? events[0].serial : 0;
  if (newest === shown.lastEventSerial) return;
  const previous = shown.lastEventSerial;
  shown.lastEventSerial = newest;
  eventsList.replaceChildren(...events.map((e) => {
    const item = document.createElement('li');
    item.textContent = `${e.id}  value ${e.value}`;
    if (e.what) {
      const what = document.createElement('span');
      what.className = 'what';
      what.textContent = e.what;
      item.append(document.createElement('br'), what);
    }
    item.value = e.serial;
    if (e.serial > previous) item.className = 'fresh';
    return item;
  }));
}

async function refreshTooltip() {
  if (!pointer) return;
  const asked = pointer;
  const response = await fetch(`/api/tooltip?${query(asked)}`);
  if (!response.ok || pointer !== asked) return;
  const answer = await response.json();
  pointerText.textContent = answer.gauge
    ? `${answer.gauge} at ${answer.gauge_x},${answer.gauge_y} (picture ${Math.floor(asked.x)},${Math.floor(asked.y)})`
    : `picture ${Math.floor(asked.x)},${Math.floor(asked.y)}`;
  tooltip.hidden = !answer.tooltip;
  tooltip.textContent = answer.tooltip;
  tooltip.style.left = `${asked.clientX + 14}px`;
  tooltip.style.top = `${asked.clientY + 18}px`;
}

// Up to 20 pictures a second: the next poll starts 50 ms after this one began.
const kPollMs = 50;
let lastTooltipAt = 0;
async function poll() {
  const began = performance.now();
  const settledBefore = actionsDone === actionsStarted ? actionsStarted : -1;
  try {
    const [state] = await Promise.all([fetch('/api/state').then((r) => r.json()), showFrame()]);
    // A state asked for while the user's own change was still on its way
    // would undo the checkbox they just clicked: the next poll tells.
    if (settledBefore === actionsStarted) {
      nightBox.checked = state.night;
      showWindows(state.windows);
    }
    showEvents(state.events);
    // What a tooltip says moves with the aircraft: ask again now and then.
    if (pointer && performance.now() - lastTooltipAt > 500) {
      lastTooltipAt = performance.now();
      await refreshTooltip();
    }
    statusText.textContent = `live, update ${state.ticks}`;
    statusText.className = '';
  } catch (error) {
    statusText.textContent = `server lost (${error.message}), retrying`;
    statusText.className = 'lost';
  }
  setTimeout(poll, Math.max(5, kPollMs - (performance.now() - began)));
}

picture.addEventListener('mousedown', (event) => {
  event.preventDefault();
  if (event.button !== 0) return;
  buttonHeld = true;
  act(`/api/press?${query(picturePoint(event))}`);
});
window.addEventListener('mouseup', (event) => {
  if (event.button !== 0 || !buttonHeld) return;
  buttonHeld = false;
  act('/api/release');
});
window.addEventListener('blur', () => {
  if (buttonHeld) {
    buttonHeld = false;
    act('/api/release');
  }
});
// A page closed with the button down leaves nothing held.
window.addEventListener('pagehide', () => {
  if (buttonHeld) navigator.sendBeacon('/api/release');
});
picture.addEventListener('contextmenu', (event) => {
  event.preventDefault();
  act(`/api/click?${query(picturePoint(event))}&button=right`);
});

let hoverTimer = null;
picture.addEventListener('mousemove', (event) => {
  pointer = picturePoint(event);
  tooltip.style.left = `${pointer.clientX + 14}px`;
  tooltip.style.top = `${pointer.clientY + 18}px`;
  clearTimeout(hoverTimer);
  hoverTimer = setTimeout(() => {
    lastTooltipAt = performance.now();
    refreshTooltip();
  }, 60);
});
picture.addEventListener('mouseleave', () => {
  pointer = null;
  clearTimeout(hoverTimer);
  tooltip.hidden = true;
  pointerText.innerHTML = '&nbsp;';
});

zoomSelect.addEventListener('change', () => {
  zoom = Number(zoomSelect.value);
  applyZoom();
});
nightBox.addEventListener('change', () => act(`/api/night?on=${nightBox.checked ? 1 : 0}`));

poll();
