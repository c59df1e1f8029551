// What the first board does not need (the menu bar, the dialog's texts, the
// screen reader's grid, the keyboard, touch, the worker for playing offline) is set
// up once the frame that shows the board has been made, so that none of its
// script, style or layout delays that frame. The page says it is ready only
// then.
export function afterFirstFrame(task) {
  // A task queued from a frame's callback runs after that frame is drawn.
  requestAnimationFrame(() => setTimeout(task, 0));
}
