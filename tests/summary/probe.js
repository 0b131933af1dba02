// The test's own measure of a page in the browser (the pages themselves hold no script):
// the findings whose title ends below the first screen, and the labels of the trend that
// cover one another.
(function () {
  var titles = Array.prototype.slice.call(document.querySelectorAll("section.finding h3"));
  var below = titles.filter(function (h) {
    return h.getBoundingClientRect().bottom > window.innerHeight;
  }).length;
  var boxes = Array.prototype.map.call(document.querySelectorAll("figure.trend text"), function (t) {
    return t.getBoundingClientRect();
  });
  var overlaps = 0;
  for (var i = 0; i < boxes.length; i++) {
    for (var j = i + 1; j < boxes.length; j++) {
      var a = boxes[i], b = boxes[j];
      if (Math.min(a.right, b.right) - Math.max(a.left, b.left) > 0.5 &&
          Math.min(a.bottom, b.bottom) - Math.max(a.top, b.top) > 0.5) {
        overlaps++;
      }
    }
  }
  var out = document.createElement("pre");
  out.textContent = "probe: findings=" + titles.length + " below=" + below + " labels=" +
      boxes.length + " overlaps=" + overlaps + " screen=" + window.innerWidth + "x" +
      window.innerHeight;
  document.body.appendChild(out);
})();
